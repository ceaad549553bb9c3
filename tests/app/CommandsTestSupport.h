// The fixture of the command tests: the real window with a folder for
// documents and pictures, plan objects made as the palette makes them, and
// the event loop run until idle so the enable rules are re-evaluated.
#pragma once

#include <QAction>
#include <QClipboard>
#include <QEventLoop>
#include <QPrinter>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "DialogAnswers.h"
#include "TestFiles.h"

struct CommandsTest : DesignerTest {
  void SetUp() override {
    // Closing the window must not end the test program's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::clipboard()->clear();
    Start();
  }
  void TearDown() override {
    DesignerTest::TearDown();
    QApplication::setQuitOnLastWindowClosed(true);
  }

  // A room label of the palette's size with its top-left corner at (X, Y).
  TZyTextBoxNode* AddLabel(const QString& Text, int X = 100, int Y = 100) {
    TZyTextBoxNode* label = TZyTextBoxNode::Create2(Graph(), Text);
    label->SetBounds(X, Y, label->Width(), label->Height());
    return label;
  }

  // Lets the event loop go idle once, which re-evaluates every enable rule.
  static void Idle() {
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
  }

  QString PathOf(const QString& Name) const { return files.filePath(Name); }

  // Points the designer's printer at the PDF file Path: printing then
  // writes the pages there instead of sending a job.
  QPrinter& PrintInto(const QString& Path) {
    QPrinter& printer = window->PrinterSetupDialog.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path);
    return printer;
  }

  // Runs a command whose file dialog is answered with Path, the dialog's
  // file type at Filter (from 1; 0 leaves it).
  static void RunWithFile(QAction* Command, const QString& Path, int Filter = 0) {
    TDialogAnswers answers;
    answers.Then(TDialogAnswers::ChooseFile(Path, Filter));
    Command->trigger();
  }

  // The texts of the objects of a saved plan, in list order.
  static QStringList TextsIn(const QString& Path) {
    TGraphEditor graph;
    graph.LoadFromFile(Path);
    QStringList texts;
    for (TGraphObject* o : graph.Objects()) texts << o->Text();
    return texts;
  }

  void WritePlan(const QString& Path, const QStringList& Texts) {
    TGraphEditor graph;
    for (const QString& text : Texts) TZyTextBoxNode::Create2(&graph, text);
    graph.SaveToFile(Path);
  }

  QString Caption(const QString& Document) const { return Document + QStringLiteral(" - 户型图设计器"); }

  QTemporaryDir files;
};
