// The printer setup dialog: the printer the next job goes to, kept between
// showings, and the modal platform dialog that chooses and sets it up.
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

 private:
  std::unique_ptr<QPrinter> fPrinter;
};
