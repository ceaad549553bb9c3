#include "PrintScaleBox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include "PrintLayout.h"

TPrintScaleBox::TPrintScaleBox(int Scale, QWidget* Parent) : QWidget(Parent) {
  setObjectName(QStringLiteral("PrintScaleBox"));
  setWindowTitle(QStringLiteral("比例"));
  fChoice = new QComboBox(this);
  fChoice->setObjectName(QStringLiteral("PrintScale"));
  fChoice->addItem(PrintScaleText(0), 0);
  for (int s : PrintScales) fChoice->addItem(PrintScaleText(s), s);
  fChoice->setCurrentIndex(std::max(0, fChoice->findData(Scale)));
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("比例（1 像素 = 2 厘米）:"), fChoice);
  auto* note = new QLabel(QStringLiteral("超出一页的户型图按比例分页打印，每页注明顺序。"), this);
  note->setWordWrap(true);
  form->addRow(note);
}

int TPrintScaleBox::Scale() const { return fChoice->currentData().toInt(); }
