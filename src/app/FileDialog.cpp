#include "FileDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QRegularExpression>

TFileDialog::TFileDialog(TFileDialogKind Kind, const QString& Title, const QString& Filter, const QString& DefaultExt,
                         const QString& FileName)
    : fKind(Kind), fTitle(Title), fFilter(Filter), fDefaultExt(DefaultExt), fFileName(FileName) {}

QStringList NameFiltersOf(const QString& Filter) {
  static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  const QStringList parts = Filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
    }
    QString description = parts[i];
    description.remove(trailingPatterns);
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

namespace {

// The extension a name without one takes under a filter: the filter's own
// when it names one ("*.jpg"), otherwise the dialog's default.
QString SuffixFor(const QString& NameFilter, const QString& DefaultExt) {
  static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)[ )]"));
  const QRegularExpressionMatch match = firstPattern.match(NameFilter);
  return match.hasMatch() ? match.captured(1) : DefaultExt;
}

// Takes the chosen filter's extension just before the name is checked, so
// that both the overwrite question and the name returned carry it.
class TSuffixedFileDialog : public QFileDialog {
 public:
  TSuffixedFileDialog(QWidget* Parent, const QString& Title, QString DefaultExt)
      : QFileDialog(Parent, Title), fDefaultExt(std::move(DefaultExt)) {}
  void accept() override {
    setDefaultSuffix(SuffixFor(selectedNameFilter(), fDefaultExt));
    QFileDialog::accept();
  }

 private:
  QString fDefaultExt;
};

}  // namespace

bool TFileDialog::Execute(QWidget* Parent) {
  TSuffixedFileDialog dialog(Parent, fTitle, fDefaultExt);
  dialog.setAcceptMode(fKind == fdOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(fKind == fdOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog, fOptions.ReadOnlyBox);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !fOptions.OverwritePrompt);
  const QStringList filters = NameFiltersOf(fFilter);
  dialog.setNameFilters(filters);
  if (fFilterIndex >= 1 && fFilterIndex <= filters.size()) dialog.selectNameFilter(filters[fFilterIndex - 1]);
  const QString suffix = SuffixFor(dialog.selectedNameFilter(), fDefaultExt);
  dialog.setDefaultSuffix(suffix);
  // A name offered for saving shows the extension it will be written with.
  QString offered = fFileName;
  if (fKind == fdSave && !offered.isEmpty() && !suffix.isEmpty() && QFileInfo(offered).suffix().isEmpty())
    offered += QLatin1Char('.') + suffix;
  if (!offered.isEmpty()) dialog.selectFile(offered);
  QCheckBox* readOnly = nullptr;  // owned by the dialog's layout
  if (fOptions.ReadOnlyBox) {
    readOnly = new QCheckBox(QStringLiteral("Open as read-only"), &dialog);
    readOnly->setChecked(fOptions.ReadOnlyChecked);
    if (auto* grid = dialog.layout()) grid->addWidget(readOnly);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fFileName = dialog.selectedFiles().constFirst();
  fFilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (readOnly) fOptions.ReadOnlyChecked = readOnly->isChecked();
  return true;
}
