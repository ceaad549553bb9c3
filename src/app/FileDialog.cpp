#include "FileDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLayout>
#include <QRegularExpression>

TFileDialog::TFileDialog(TFileDialogKind Kind, const QString& Title, const QString& Filter,
                         const QString& DefaultExt, const QString& FileName)
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

bool TFileDialog::Execute(QWidget* Parent) {
  QFileDialog dialog(Parent, fTitle);
  dialog.setAcceptMode(fKind == fdOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(fKind == fdOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog, fOptions.ReadOnlyBox);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !fOptions.OverwritePrompt);
  const QStringList filters = NameFiltersOf(fFilter);
  dialog.setNameFilters(filters);
  if (fFilterIndex >= 1 && fFilterIndex <= filters.size()) dialog.selectNameFilter(filters[fFilterIndex - 1]);
  dialog.setDefaultSuffix(fDefaultExt);
  if (!fFileName.isEmpty()) dialog.selectFile(fFileName);
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
