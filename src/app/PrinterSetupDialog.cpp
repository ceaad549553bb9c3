#include "PrinterSetupDialog.h"

#include <QPrintDialog>
#include <QPrinter>

#include "PrintScaleBox.h"

TPrinterSetupDialog::TPrinterSetupDialog() = default;

TPrinterSetupDialog::~TPrinterSetupDialog() = default;

QPrinter& TPrinterSetupDialog::Printer() {
  // Asking the print system for its printers can take a while: only a
  // window that prints pays for it.
  if (!fPrinter) fPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *fPrinter;
}

bool TPrinterSetupDialog::Execute(QWidget* Parent) {
  QPrintDialog dialog(&Printer(), Parent);
  dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
  auto* scale = new TPrintScaleBox(fScale);
  dialog.setOptionTabs({scale});
  if (dialog.exec() != QDialog::Accepted) return false;
  fScale = scale->Scale();
  return true;
}
