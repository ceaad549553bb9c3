// The printer setup dialog: the printer the next job goes to and the scale
// it prints at, kept between showings, and the modal platform dialog that
// chooses and sets them up.
#pragma once

#include <memory>

class QPrinter;
class QWidget;

class TPrinterSetupDialog {
 public:
  TPrinterSetupDialog();
  ~TPrinterSetupDialog();
  TPrinterSetupDialog(const TPrinterSetupDialog&) = delete;
  TPrinterSetupDialog& operator=(const TPrinterSetupDialog&) = delete;

  // The printer as last set up; made on first use.
  QPrinter& Printer();
  // Shows the dialog over Parent; false when cancelled.
  bool Execute(QWidget* Parent);
  // The scale last confirmed (PrintLayout): 0 fits the plan to the page.
  int Scale() const { return fScale; }

 private:
  std::unique_ptr<QPrinter> fPrinter;
  int fScale = 0;
};
