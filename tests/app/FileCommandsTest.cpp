// The document commands driven through the real window, with the dialogs
// and message boxes answered as a user would: save, open (also read-only),
// export, print, exit and closing with unsaved changes.
#include <QFileInfo>
#include <QPrinter>

#include "CommandsTestSupport.h"
#include "FullDisk.h"
#include "IdentifyPicture.h"
#include "Picture.h"
#include "PlanExport.h"

namespace {

using A = TDialogAnswers;
const QString SaveQuestion = QStringLiteral("设计已被修改, 是否保存?");

using FileCommandsTest = CommandsTest;

TEST_F(FileCommandsTest, SaveAsksForANameTheFirstTimeOnly) {
  AddLabel(QStringLiteral("厅"));
  const QString path = PathOf(QStringLiteral("plan.kvf"));
  {
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(path));
    window->actFileSave->trigger();
    ASSERT_EQ(answers.Seen.size(), 1u);
    const TSeenDialog& dialog = answers.Seen[0];
    EXPECT_EQ(dialog.Kind, QStringLiteral("file"));
    EXPECT_EQ(dialog.Title, QStringLiteral("保存户型图为"));
    EXPECT_EQ(dialog.NameFilters, QStringList({QStringLiteral("户型图文件 (*.kvf)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("kvf"));
    EXPECT_EQ(dialog.FileName, QStringLiteral("未命名.kvf"));
    EXPECT_TRUE(dialog.Saving);
    EXPECT_TRUE(dialog.ConfirmsOverwrite);
    EXPECT_FALSE(dialog.HasReadOnlyBox);
  }
  EXPECT_EQ(TextsIn(path), QStringList{QStringLiteral("厅")});
  EXPECT_EQ(window->windowTitle(), Caption(path));
  EXPECT_FALSE(Graph()->Modified());

  AddLabel(QStringLiteral("卫"), 300);
  TDialogAnswers none;
  window->actFileSave->trigger();
  EXPECT_TRUE(none.Seen.empty());
  EXPECT_EQ(TextsIn(path), QStringList({QStringLiteral("厅"), QStringLiteral("卫")}));
  EXPECT_FALSE(Graph()->Modified());
}

TEST_F(FileCommandsTest, CancelledFirstSaveKeepsTheUntitledPlan) {
  AddLabel(QStringLiteral("厅"));
  TDialogAnswers answers;
  answers.Then(A::Cancel());
  window->actFileSave->trigger();
  EXPECT_EQ(answers.Seen.size(), 1u);
  EXPECT_EQ(window->windowTitle(), Caption(QStringLiteral("未命名")));
  EXPECT_TRUE(Graph()->Modified());
  EXPECT_TRUE(QDir(files.path()).isEmpty());
}

TEST_F(FileCommandsTest, OpenAsksAboutChangesAndYesWithACancelledSaveKeepsThePlan) {
  const QString other = PathOf(QStringLiteral("other.kvf"));
  WritePlan(other, {QStringLiteral("卧")});
  AddLabel(QStringLiteral("厅"));
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::Yes)).Then(A::Cancel());
    window->actFileOpen->trigger();
    ASSERT_EQ(answers.Seen.size(), 2u);  // no open dialog
    const TSeenDialog& question = answers.Seen[0];
    EXPECT_EQ(question.Text, SaveQuestion);
    EXPECT_EQ(question.Icon, QMessageBox::Question);
    EXPECT_EQ(question.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(answers.Seen[1].Title, QStringLiteral("保存户型图为"));
  }
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::Cancel));
    window->actFileOpen->trigger();
    EXPECT_EQ(answers.Seen.size(), 1u);
  }
  ASSERT_EQ(Graph()->Objects().Count(), 1);
  EXPECT_EQ(Graph()->Objects()[0]->Text(), QStringLiteral("厅"));
  EXPECT_TRUE(Graph()->Modified());

  // No: the changes go and the chosen plan replaces them.
  Graph()->SetZoom(200);
  TDialogAnswers answers;
  answers.Then(A::Press(QMessageBox::No)).Then(A::ChooseFile(other));
  window->actFileOpen->trigger();
  ASSERT_EQ(answers.Seen.size(), 2u);
  const TSeenDialog& open = answers.Seen[1];
  EXPECT_EQ(open.Title, QStringLiteral("Open Graph"));
  EXPECT_EQ(open.NameFilters, QStringList({QStringLiteral("户型图 (*.kvf)"), QStringLiteral("All Files (*)")}));
  EXPECT_EQ(open.DefaultSuffix, QStringLiteral("kvf"));
  EXPECT_TRUE(open.ExistingFileOnly);
  EXPECT_TRUE(open.HasReadOnlyBox);
  EXPECT_FALSE(open.ReadOnlyTicked);
  ASSERT_EQ(Graph()->Objects().Count(), 1);
  EXPECT_EQ(Graph()->Objects()[0]->Text(), QStringLiteral("卧"));
  EXPECT_FALSE(Graph()->Modified());
  EXPECT_EQ(Graph()->Zoom(), 100);
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_FALSE(window->IsReadonly);
  EXPECT_EQ(window->windowTitle(), Caption(other));
  EXPECT_EQ(window->SaveDialog.FileName(), other);
}

TEST_F(FileCommandsTest, OpeningADamagedFileReportsItAndChangesNothing) {
  const QString path = PathOf(QStringLiteral("plan.kvf"));
  AddLabel(QStringLiteral("厅"));
  RunWithFile(window->actFileSave, path);
  const QByteArray saved = FileBytes(path);
  Graph()->SetZoom(150);

  // Not a plan at all, and a plan cut short after its header (which would
  // leave a half-read plan under this document's name).
  const QString bad = PathOf(QStringLiteral("bad.kvf"));
  WritePlan(bad, {QStringLiteral("卧"), QStringLiteral("卫")});
  const QByteArray cutShort = FileBytes(bad).chopped(10);
  for (const QByteArray& content : {QByteArray("not a plan"), cutShort}) {
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(bad)).Then(A::Press(QMessageBox::Ok));
    window->actFileOpen->trigger();
    ASSERT_EQ(answers.Seen.size(), 2u);
    EXPECT_EQ(answers.Seen[1].Kind, QStringLiteral("message"));  // the error report
    ASSERT_EQ(Graph()->Objects().Count(), 1);
    EXPECT_EQ(Graph()->Objects()[0]->Text(), QStringLiteral("厅"));
    EXPECT_EQ(Graph()->Zoom(), 150);
    EXPECT_EQ(window->windowTitle(), Caption(path));
  }
  TDialogAnswers none;
  window->actFileSave->trigger();
  EXPECT_EQ(FileBytes(path), saved);
}

TEST_F(FileCommandsTest, SaveAndExportOntoAFullDiskReportTheErrorAndKeepThePreviousFiles) {
  TFullDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
  const QString path = disk.Path(QStringLiteral("plan.kvf"));
  const QString picture = disk.Path(QStringLiteral("plan.jpg"));
  AddLabel(QStringLiteral("厅"));
  {
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(path));
    window->actFileSave->trigger();
    answers.Then(A::ChooseFile(picture, 1));
    window->actFileSaveAs->trigger();
  }
  const QByteArray saved = FileBytes(path);
  const QByteArray exported = FileBytes(picture);
  ASSERT_FALSE(saved.isEmpty());
  ASSERT_FALSE(exported.isEmpty());
  AddLabel(QStringLiteral("卫"), 300);
  ASSERT_GT(disk.FillUp(), 0);

  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::Ok));
    window->actFileSave->trigger();
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Kind, QStringLiteral("message"));
    EXPECT_TRUE(answers.Seen[0].Text.contains(QStringLiteral("No space left on device")))
        << answers.Seen[0].Text.toStdString();
  }
  EXPECT_TRUE(Graph()->Modified());
  EXPECT_EQ(FileBytes(path), saved);
  {
    TDialogAnswers answers;
    // The file dialog asks before replacing the picture, then the error shows.
    answers.Then(A::ChooseFile(picture, 1)).Then(A::Press(QMessageBox::Yes)).Then(A::Press(QMessageBox::Ok));
    window->actFileSaveAs->trigger();
    ASSERT_EQ(answers.Seen.size(), 3u);
    EXPECT_EQ(answers.Seen[2].Kind, QStringLiteral("message"));
    EXPECT_TRUE(answers.Seen[2].Text.contains(QStringLiteral("No space left on device")));
  }
  EXPECT_EQ(FileBytes(picture), exported);
  EXPECT_EQ(disk.Files(), QStringList({QStringLiteral("plan.jpg"), QStringLiteral("plan.kvf")}));
}

// Ticks the read-only box in the open dialog.
void OpenReadOnly(THouseDesigner& Window, const QString& Path) {
  TDialogAnswers answers;
  answers.Then(A::ChooseFile(Path, 0, true));
  Window.actFileOpen->trigger();
}

TEST_F(FileCommandsTest, ReadOnlyModeDisablesExactlyThePlanChangingCommands) {
  const QString path = PathOf(QStringLiteral("plan.kvf"));
  WritePlan(path, {QStringLiteral("厅"), QStringLiteral("卧")});
  OpenReadOnly(*window, path);
  EXPECT_TRUE(window->IsReadonly);
  EXPECT_EQ(Graph()->CommandMode(), cmViewOnly);
  EXPECT_EQ(window->windowTitle(), Caption(path));

  // With one of two objects selected and graph data on the clipboard,
  // only read-only mode can hold a command back.
  Graph()->Objects()[0]->SetSelected(true);
  Idle();
  window->actEditCopy->trigger();
  Idle();
  const std::vector<QAction*> on = {window->actFileOpen,  window->actFileSave, window->actFileSaveAs,
                                    window->actFilePrint, window->actFileExit, window->actEditCopy,
                                    window->actEditRotate};
  const std::vector<QAction*> off = {window->actEditCut,       window->actEditPaste,        window->actEditDelete,
                                     window->actEditSelectAll, window->actEditBringToFront, window->actEditSendToBack,
                                     window->actEditLockNodes, window->actEditLockLinks};
  for (QAction* a : on) EXPECT_TRUE(a->isEnabled()) << qPrintable(a->objectName());
  for (QAction* a : off) EXPECT_FALSE(a->isEnabled()) << qPrintable(a->objectName());

  // Rotate still works.
  auto* label = static_cast<TGraphNode*>(Graph()->Objects()[0]);
  window->actEditRotate->trigger();
  EXPECT_EQ(label->Width(), 40);
  EXPECT_EQ(label->Height(), 100);

  // The next Open without the box makes the plan editable again.
  TDialogAnswers answers;
  answers.Then(A::Press(QMessageBox::No)).Then(A::ChooseFile(path, 0, false));
  window->actFileOpen->trigger();
  ASSERT_EQ(answers.Seen.size(), 2u);
  EXPECT_TRUE(answers.Seen[1].ReadOnlyTicked);  // as it was last confirmed
  EXPECT_FALSE(window->IsReadonly);
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  Graph()->Objects()[0]->SetSelected(true);
  Idle();
  for (QAction* a : off) EXPECT_TRUE(a->isEnabled()) << qPrintable(a->objectName());
}

TEST_F(FileCommandsTest, ReadOnlySaveAsksForANewNameAndNeverWritesTheOpenedFile) {
  const QString path = PathOf(QStringLiteral("plan.kvf"));
  const QString copy = PathOf(QStringLiteral("copy.kvf"));
  WritePlan(path, {QStringLiteral("厅")});
  const QByteArray original = FileBytes(path);
  OpenReadOnly(*window, path);
  Graph()->Objects()[0]->SetSelected(true);
  window->actEditRotate->trigger();
  ASSERT_TRUE(Graph()->Modified());

  {  // Choosing the opened file itself is refused.
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(path)).Then(A::Press(QMessageBox::Yes)).Then(A::Press(QMessageBox::Ok));
    window->actFileSave->trigger();
    ASSERT_EQ(answers.Seen.size(), 3u);
    EXPECT_EQ(answers.Seen[0].Title, QStringLiteral("保存户型图为"));
    EXPECT_EQ(answers.Seen[0].FileName, QStringLiteral("未命名.kvf"));
    EXPECT_EQ(answers.Seen[2].Kind, QStringLiteral("message"));  // the refusal
    EXPECT_EQ(FileBytes(path), original);
    EXPECT_EQ(window->windowTitle(), Caption(path));
  }
  {
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(copy));
    window->actFileSave->trigger();
    EXPECT_EQ(answers.Seen.size(), 1u);
  }
  EXPECT_EQ(FileBytes(path), original);
  EXPECT_EQ(TextsIn(copy), QStringList{QStringLiteral("厅")});
  EXPECT_EQ(window->windowTitle(), Caption(copy));
  EXPECT_FALSE(Graph()->Modified());

  // The copy is the document now: saved to without asking.
  Graph()->Objects()[0]->SetText(QStringLiteral("卧"));
  TDialogAnswers none;
  window->actFileSave->trigger();
  EXPECT_TRUE(none.Seen.empty());
  EXPECT_EQ(TextsIn(copy), QStringList{QStringLiteral("卧")});
  EXPECT_EQ(FileBytes(path), original);
}

TEST_F(FileCommandsTest, ExportIsOfferedOnlyForAPlanWithObjects) {
  Idle();
  EXPECT_FALSE(window->actFileSaveAs->isEnabled());
  AddLabel(QStringLiteral("厅"));
  Idle();
  EXPECT_TRUE(window->actFileSaveAs->isEnabled());
}

TEST_F(FileCommandsTest, JpegExportIsBaselineColourQuality90AtThePlansSize) {
  AddLabel(QStringLiteral("厅"));
  Graph()->InsertLink(TPoints{{20, 300}, {400, 300}}, &TWallLine::ClassInfo)->Pen()->SetColor(clRed);
  Graph()->SetModified(false);
  Graph()->SetZoom(300);
  const QSize size = Graph()->GetAsBitmap(Graph()->Objects())->ToImage().size();
  const QString path = PathOf(QStringLiteral("plan.jpg"));
  Idle();

  TDialogAnswers answers;
  answers.Then(A::ChooseFile(path, 1));
  window->actFileSaveAs->trigger();
  ASSERT_EQ(answers.Seen.size(), 1u);
  const TSeenDialog& dialog = answers.Seen[0];
  EXPECT_EQ(dialog.Title, QStringLiteral("保存户型图为"));
  EXPECT_EQ(dialog.NameFilters, QStringList({QStringLiteral("JPEG 文件 (*.jpg)"), QStringLiteral("位图文件 (*.bmp)"),
                                             QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral("All Files (*)")}));
  EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("jpg"));
  EXPECT_EQ(dialog.FileName, QStringLiteral("未命名.jpg"));
  EXPECT_TRUE(dialog.ConfirmsOverwrite);

  EXPECT_EQ(Identify(path), QStringLiteral("JPEG %1 %2 90 None sRGB srgb").arg(size.width()).arg(size.height()));
  // The document itself is untouched.
  EXPECT_EQ(window->windowTitle(), QStringLiteral("户型图设计器"));
  EXPECT_EQ(window->SaveDialog.FileName(), QStringLiteral("未命名"));
  EXPECT_FALSE(Graph()->Modified());
}

TEST_F(FileCommandsTest, NamesTypedWithoutExtensionTakeTheFiltersOne) {
  AddLabel(QStringLiteral("厅"));
  Idle();
  RunWithFile(window->actFileSave, PathOf(QStringLiteral("flat")));
  EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("flat.kvf"))));
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("flat"))));
  EXPECT_EQ(window->windowTitle(), Caption(PathOf(QStringLiteral("flat.kvf"))));
  const struct {
    int Filter;
    const char* Written;
    const char* Signature;
  } exports[] = {{1, "photo.jpg", "\xFF\xD8"}, {2, "bitmap.bmp", "BM"}, {3, "pages.pdf", "%PDF"}, {4, "any.bmp", "BM"}};
  for (const auto& e : exports) {
    const QString typed = PathOf(QString::fromLatin1(e.Written).section(QLatin1Char('.'), 0, 0));
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(typed, e.Filter));
    window->actFileSaveAs->trigger();
    EXPECT_TRUE(FileBytes(PathOf(QString::fromLatin1(e.Written))).startsWith(e.Signature)) << e.Written;
    EXPECT_FALSE(QFileInfo::exists(typed)) << e.Written;
  }
}

TEST_F(FileCommandsTest, BitmapExportIgnoresZoomAndNameExtension) {
  AddLabel(QStringLiteral("厅"));
  AddLabel(QStringLiteral("卫"), 260, 180);
  const QString at100 = PathOf(QStringLiteral("at100.bmp"));
  const QString zoomed = PathOf(QStringLiteral("zoomed.jpg"));
  Idle();
  RunWithFile(window->actFileSaveAs, at100, 2);
  Graph()->SetZoom(250);
  Graph()->ScrollBy(40, 30);
  {  // "All Files" with a ".jpg" name still writes a bitmap.
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(zoomed, 4));
    window->actFileSaveAs->trigger();
  }
  const QByteArray bitmap = FileBytes(at100);
  ASSERT_TRUE(bitmap.startsWith("BM"));
  EXPECT_EQ(FileBytes(zoomed), bitmap);
  TBitmap read;
  read.LoadFromFile(at100);
  EXPECT_EQ(read.ToImage(), Graph()->GetAsBitmap(Graph()->Objects())->ToImage());
}

TEST_F(FileCommandsTest, PrintRunsOneJobTitledAfterTheProgramOnlyWhenConfirmed) {
  AddLabel(QStringLiteral("厅"));
  const QString pdf = PathOf(QStringLiteral("plan.pdf"));
  const QPrinter& printer = PrintInto(pdf);
  {
    TDialogAnswers answers;
    answers.Then(A::Cancel());
    window->actFilePrint->trigger();
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Kind, QStringLiteral("print"));
  }
  EXPECT_FALSE(QFileInfo::exists(pdf));

  TDialogAnswers answers;
  answers.Then(A::ConfirmPrinter());
  window->actFilePrint->trigger();
  EXPECT_EQ(answers.Seen.size(), 1u);
  EXPECT_TRUE(FileBytes(pdf).startsWith("%PDF"));
  EXPECT_EQ(printer.docName(), QStringLiteral("户型图设计器"));
}

TEST_F(FileCommandsTest, ClosingWithChangesAsksAndCancelKeepsTheProgramRunning) {
  AddLabel(QStringLiteral("厅"));
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::Cancel));
    EXPECT_FALSE(window->close());
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Text, SaveQuestion);
  }
  EXPECT_TRUE(window->isVisible());
  {  // Exit asks the same; Yes with a cancelled save stays too.
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::Yes)).Then(A::Cancel());
    window->actFileExit->trigger();
    EXPECT_EQ(answers.Seen.size(), 2u);
  }
  EXPECT_TRUE(window->isVisible());

  const QString path = PathOf(QStringLiteral("plan.kvf"));
  TDialogAnswers answers;
  answers.Then(A::Press(QMessageBox::Yes)).Then(A::ChooseFile(path));
  window->actFileExit->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(TextsIn(path), QStringList{QStringLiteral("厅")});
}

TEST_F(FileCommandsTest, ExitWithoutChangesOrAnsweringNoClosesAtOnce) {
  {
    TDialogAnswers none;
    window->actFileExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(none.Seen.empty());
  }
  window->show();
  AddLabel(QStringLiteral("厅"));
  TDialogAnswers answers;
  answers.Then(A::Press(QMessageBox::No));
  window->actFileExit->trigger();
  EXPECT_EQ(answers.Seen.size(), 1u);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
