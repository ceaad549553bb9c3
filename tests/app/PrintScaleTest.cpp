// The designer's scale choice in the print dialog, and the PDF filter of
// the export dialog that prints the same pages into a file.
#include <QComboBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>

#include "CommandsTestSupport.h"

namespace {

using PrintScaleTest = CommandsTest;
using A = TDialogAnswers;

// Chooses the scale shown as Text on the dialog's scale page, then confirms.
A::TAnswer ConfirmPrinterAt(const QString& Text) {
  return [=](QWidget* Dialog) {
    auto* print = qobject_cast<QPrintDialog*>(Dialog);
    auto* scale = print ? print->findChild<QComboBox*>(QStringLiteral("PrintScale")) : nullptr;
    if (!scale) {
      ADD_FAILURE() << "no scale choice in the print dialog";
      if (print) print->reject();
      return;
    }
    scale->setCurrentIndex(scale->findText(Text));
    print->done(QDialog::Accepted);
  };
}

QString PdfText(const QString& Pdf) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {Pdf, QStringLiteral("-")});
  EXPECT_TRUE(text.waitForFinished(60000));
  return QString::fromUtf8(text.readAllStandardOutput());
}

TEST_F(PrintScaleTest, TheScaleChosenForPrintingIsKeptAndUsedByThePdfExport) {
  AddLabel(QStringLiteral("厅"));
  const QString printed = PathOf(QStringLiteral("printed.pdf"));
  PrintInto(printed);
  EXPECT_EQ(window->PrinterSetupDialog.Scale(), 0);
  {
    TDialogAnswers answers;
    answers.Then(ConfirmPrinterAt(QStringLiteral("1:50")));
    window->actFilePrint->trigger();
  }
  EXPECT_EQ(window->PrinterSetupDialog.Scale(), 50);
  EXPECT_TRUE(PdfText(printed).contains(QStringLiteral("比例 1:50")));

  // The export dialog's third filter writes the same pages as a PDF file.
  const QString exported = PathOf(QStringLiteral("exported.pdf"));
  {
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(exported, 3));
    window->actFileSaveAs->trigger();
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_TRUE(answers.Seen[0].NameFilters.contains(QStringLiteral("PDF 文件 (*.pdf)")));
  }
  const QString text = PdfText(exported);
  EXPECT_TRUE(text.contains(QStringLiteral("比例 1:50")));
  EXPECT_TRUE(text.contains(QStringLiteral("厅")));

  // A cancelled dialog keeps the scale confirmed last.
  {
    TDialogAnswers answers;
    answers.Then(A::Cancel());
    window->actFilePrint->trigger();
  }
  EXPECT_EQ(window->PrinterSetupDialog.Scale(), 50);
}

}  // namespace
