// Answers the modal dialogs the designer shows, as a user would, in the
// order they come up: each answer handles one dialog. Every dialog is
// recorded as it first shows; one that comes when no answer is left is
// cancelled and counted as unexpected.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

struct TSeenDialog {
  QString Kind;  // "file", "message", "print" or the class name
  QString Title;
  QString Text;  // a message box's text
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons Buttons;
  // File dialogs.
  QStringList NameFilters;
  QString DefaultSuffix;
  QString FileName;  // what the name field offers at first
  bool Saving = false;
  bool ConfirmsOverwrite = false;
  bool ExistingFileOnly = false;
  bool HasReadOnlyBox = false;
  bool ReadOnlyTicked = false;
};

class TDialogAnswers : public QObject {
 public:
  using TAnswer = std::function<void(QWidget* Dialog)>;

  TDialogAnswers() {
    connect(&fTimer, &QTimer::timeout, this, &TDialogAnswers::Poll);
    fTimer.start(10);
  }
  ~TDialogAnswers() override { EXPECT_TRUE(fAnswers.empty()) << fAnswers.size() << " dialog answers left unused"; }

  TDialogAnswers& Then(TAnswer Answer) {
    fAnswers.push_back(std::move(Answer));
    return *this;
  }

  std::vector<TSeenDialog> Seen;
  int Unexpected = 0;

  // --- answers ---

  // Picks the filter at Position (from 1; 0 leaves it), ticks or clears the
  // read-only box when asked, types Path (a full path) and confirms.
  static TAnswer ChooseFile(const QString& Path, int Position = 0, std::optional<bool> ReadOnly = {}) {
    return [=](QWidget* Dialog) {
      auto* files = qobject_cast<QFileDialog*>(Dialog);
      if (!files) return Refuse(Dialog, "a file dialog");
      if (Position > 0) files->selectNameFilter(files->nameFilters().value(Position - 1));
      if (ReadOnly) {
        auto* box = files->findChild<QCheckBox*>();
        if (!box) return Refuse(Dialog, "a read-only box");
        box->setChecked(*ReadOnly);
      }
      // Typed into the name field: selectFile leaves a focused field alone.
      auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (!name) return Refuse(Dialog, "a file name field");
      name->setText(Path);
      static_cast<QDialog*>(files)->accept();  // QFileDialog::accept checks the name
    };
  }
  static TAnswer Cancel() {
    return [](QWidget* Dialog) { static_cast<QDialog*>(Dialog)->reject(); };
  }
  static TAnswer Press(QMessageBox::StandardButton Button) {
    return [=](QWidget* Dialog) {
      auto* box = qobject_cast<QMessageBox*>(Dialog);
      if (!box || !box->button(Button)) return Refuse(Dialog, "a message box with that button");
      box->button(Button)->click();
    };
  }
  static TAnswer ConfirmPrinter() {
    return [](QWidget* Dialog) {
      auto* print = qobject_cast<QPrintDialog*>(Dialog);
      if (!print) return Refuse(Dialog, "the printer setup dialog");
      print->done(QDialog::Accepted);
    };
  }

 private:
  static void Refuse(QWidget* Dialog, const char* Wanted) {
    ADD_FAILURE() << "expected " << Wanted << ", got " << Dialog->metaObject()->className() << " \""
                  << qPrintable(Dialog->windowTitle()) << '"';
    if (auto* dialog = qobject_cast<QDialog*>(Dialog)) dialog->reject();
  }

  static TSeenDialog Describe(QWidget* Dialog) {
    TSeenDialog seen;
    seen.Kind = QString::fromLatin1(Dialog->metaObject()->className());
    seen.Title = Dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(Dialog)) {
      seen.Kind = QStringLiteral("message");
      seen.Text = box->text();
      seen.Icon = box->icon();
      seen.Buttons = box->standardButtons();
    } else if (auto* files = qobject_cast<QFileDialog*>(Dialog)) {
      seen.Kind = QStringLiteral("file");
      seen.NameFilters = files->nameFilters();
      seen.DefaultSuffix = files->defaultSuffix();
      if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) seen.FileName = name->text();
      seen.Saving = files->acceptMode() == QFileDialog::AcceptSave;
      seen.ConfirmsOverwrite = !files->testOption(QFileDialog::DontConfirmOverwrite);
      seen.ExistingFileOnly = files->fileMode() == QFileDialog::ExistingFile;
      if (auto* box = files->findChild<QCheckBox*>()) {
        seen.HasReadOnlyBox = true;
        seen.ReadOnlyTicked = box->isChecked();
      }
    } else if (qobject_cast<QPrintDialog*>(Dialog)) {
      seen.Kind = QStringLiteral("print");
    }
    return seen;
  }

  void Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    // A dialog may reuse the address of the one before: mark each instead.
    if (!dialog || dialog->property("answered").toBool()) return;
    dialog->setProperty("answered", true);
    Seen.push_back(Describe(dialog));
    if (fAnswers.empty()) {
      ++Unexpected;
      if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
      return;
    }
    TAnswer answer = std::move(fAnswers.front());
    fAnswers.pop_front();
    // Answered from the event loop, not from this timer: a dialog the
    // answer brings up (a nested question) must find the timer free.
    QTimer::singleShot(0, dialog, [answer, dialog] { answer(dialog); });
  }

  QTimer fTimer;
  std::deque<TAnswer> fAnswers;
};
