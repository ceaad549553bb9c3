#include "PrintScaleBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>

#include "PrintLayout.h"

namespace {
QString Tr(const char* Text) { return QCoreApplication::translate("TPrintScaleBox", Text); }
}  // namespace

TPrintScaleBox::TPrintScaleBox(int Scale, QWidget* Parent) : QWidget(Parent) {
  setObjectName(QStringLiteral("PrintScaleBox"));
  setWindowTitle(Tr(QT_TRANSLATE_NOOP("TPrintScaleBox", "比例")));
  fChoice = new QComboBox(this);
  fChoice->setObjectName(QStringLiteral("PrintScale"));
  fChoice->addItem(Tr(QT_TRANSLATE_NOOP("TPrintScaleBox", "适合页面")), 0);
  for (int s : PrintScales) fChoice->addItem(PrintScaleText(s), s);
  fChoice->setCurrentIndex(std::max(0, fChoice->findData(Scale)));
  auto* form = new QFormLayout(this);
  form->addRow(Tr(QT_TRANSLATE_NOOP("TPrintScaleBox", "比例（1 像素 = 2 厘米）:")), fChoice);
  auto* note =
      new QLabel(Tr(QT_TRANSLATE_NOOP("TPrintScaleBox", "超出一页的户型图按比例分页打印，每页注明顺序。")), this);
  note->setWordWrap(true);
  form->addRow(note);
}

int TPrintScaleBox::Scale() const { return fChoice->currentData().toInt(); }
