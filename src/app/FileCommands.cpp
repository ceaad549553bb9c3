// The document commands: open, save, export as a picture, print, exit, and
// the question about unsaved changes that guards replacing or closing the
// plan.
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include "DesignerSettings.h"
#include "DocumentErrors.h"
#include "ErrorReport.h"
#include "GraphHistory.h"
#include "MainForm.h"
#include "PlanExport.h"
#include "Startup.h"
#include "Stream.h"

namespace {

const char* const SaveQuestion = QT_TRANSLATE_NOOP("THouseDesigner", "设计已被修改, 是否保存?");
const char* const ReadonlyRefusal =
    QT_TRANSLATE_NOOP("THouseDesigner", "该文件是以只读方式打开的, 请另选一个文件名保存.");

// Links and relative names lead to the same file.
QString FileKey(const QString& Name) {
  const QFileInfo info(Name);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool SameFile(const QString& A, const QString& B) { return FileKey(A) == FileKey(B); }

// Yes, No or Cancel; closing the box counts as Cancel. Without a parent
// the box is centred on the screen.
QMessageBox::StandardButton AskToSave() {
  QMessageBox box(QMessageBox::Question, Title(), THouseDesigner::tr(SaveQuestion),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  box.setObjectName(QStringLiteral("SaveQuestion"));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  return QMessageBox::StandardButton(box.exec());
}

// A document damaged past its header would leave the plan half read under
// the old document's name, for the next Save to write over that file. The
// document is read into a scratch graph first; only one that reads whole
// replaces the plan.
void LoadDocument(TGraphEditor& Graph, const QString& FileName) {
  TMemoryStream document;
  document.LoadFromFile(FileName);
  {
    TGraphEditor scratch;
    scratch.LoadFromStream(document);
  }
  document.SetPosition(0);
  Graph.LoadFromStream(document);
}

}  // namespace

void THouseDesigner::ShowDocumentCaption() { setWindowTitle(SaveDialog.FileName() + QStringLiteral(" - ") + Title()); }

bool THouseDesigner::IsGraphSaved() {
  if (!GraphEditor->Modified()) return true;
  switch (AskToSave()) {
    case QMessageBox::Yes:
      // As a toolbar click would: a cancelled or failed save keeps the plan.
      ActionList->Execute(actFileSave);
      return !GraphEditor->Modified();
    case QMessageBox::No: return true;
    default: return false;
  }
}

void THouseDesigner::actFileOpenExecute(QAction*) {
  // Offered from the first Open on, even when it is then cancelled.
  OpenDialog.Options().ReadOnlyBox = true;
  if (!IsGraphSaved()) return;
  if (!OpenDialog.Execute(this)) return;
  OpenDocument(OpenDialog.FileName(), OpenDialog.Options().ReadOnlyChecked);
}

void THouseDesigner::OpenDocument(const QString& fileName, bool ReadOnly) {
  // A file that cannot be read raises here: plan, mode, name and caption
  // stay.
  WithDocumentErrors(TDocumentTask::Open, [&] { LoadDocument(*GraphEditor, fileName); });
  fPendingObject.reset();
  GraphEditor->SetZoom(100);
  IsReadonly = ReadOnly;
  fReadonlyFileName = IsReadonly ? fileName : QString();
  GraphEditor->SetCommandMode(IsReadonly ? cmViewOnly : cmEdit);
  SaveDialog.SetFileName(fileName);
  History->Clear();
  TRecentFiles::Add(fileName);
  ForgetRecoveryCopy();
  ShowDocumentCaption();
}

void THouseDesigner::actFileNewExecute(QAction*) {
  if (!IsGraphSaved()) return;
  fPendingObject.reset();
  GraphEditor->Clear();
  GraphEditor->SetCommandMode(cmEdit);
  GraphEditor->SetZoom(100);
  IsReadonly = false;
  fReadonlyFileName.clear();
  SaveDialog.SetFileName(UntitledDocumentName());
  History->Clear();
  GraphEditor->SetModified(false);
  ForgetRecoveryCopy();
  ShowDocumentCaption();
}

bool THouseDesigner::IsReadonlyDocument() const {
  return IsReadonly && SameFile(SaveDialog.FileName(), fReadonlyFileName);
}

void THouseDesigner::actFileSaveExecute(QAction*) {
  if (IsReadonlyDocument()) {
    SaveUnderNewName();
  } else if (SaveDialog.FileName() != UntitledDocumentName()) {
    SavePlan(SaveDialog.FileName());
  } else if (SaveDialog.Execute(this)) {
    // The chosen name is the document's from now on, even if writing fails.
    SavePlan(SaveDialog.FileName());
  }
  ShowDocumentCaption();
}

void THouseDesigner::SavePlan(const QString& FileName) {
  WithDocumentErrors(TDocumentTask::Save, [&] { GraphEditor->SaveToFile(FileName); });
  History->SetClean();
  GraphEditor->SetModified(false);
  TRecentFiles::Add(FileName);
  ForgetRecoveryCopy();
}

// A copy under a new name, which is the document from then on; never the
// file opened read-only.
void THouseDesigner::actFileSavePlanAsExecute(QAction*) {
  const QString current = SaveDialog.FileName();
  if (!SaveDialog.Execute(this)) return;
  if (IsReadonlyDocument()) {
    SaveDialog.SetFileName(current);
    throw Exception(tr(ReadonlyRefusal));
  }
  try {
    SavePlan(SaveDialog.FileName());
  } catch (...) {
    SaveDialog.SetFileName(current);
    throw;
  }
  ShowDocumentCaption();
}

void THouseDesigner::SaveUnderNewName() {
  const QString readonlyName = SaveDialog.FileName();
  SaveDialog.SetFileName(QFileInfo(readonlyName).dir().filePath(UntitledDocumentName()));
  if (!SaveDialog.Execute(this)) {
    SaveDialog.SetFileName(readonlyName);
    return;
  }
  if (SameFile(SaveDialog.FileName(), readonlyName)) {
    SaveDialog.SetFileName(readonlyName);
    throw Exception(tr(ReadonlyRefusal));
  }
  SavePlan(SaveDialog.FileName());
}

void THouseDesigner::actFileSaveAsUpdate(QAction* Sender) { Sender->setEnabled(GraphEditor->Objects().Count() > 0); }

void THouseDesigner::actFileSaveAsExecute(QAction*) {
  if (!SaveAsDialog.Execute(this)) return;
  // The first filter is the JPEG picture, the third the printed pages as
  // a PDF file (at the scale last chosen for printing); the others write
  // a bitmap file, whatever the name's extension.
  WithDocumentErrors(TDocumentTask::Export, [&] {
    if (SaveAsDialog.FilterIndex() == 1) {
      SaveAsJpeg(*GraphEditor, SaveAsDialog.FileName());
    } else if (SaveAsDialog.FilterIndex() == 3) {
      const TPrintOptions options = PrintOptions();
      SavePlanAsPdf(*GraphEditor, SaveAsDialog.FileName(), options, options.DocumentName);
    } else {
      GraphEditor->SaveAsBitmap(SaveAsDialog.FileName());
    }
  });
}

void THouseDesigner::actFilePrintExecute(QAction*) {
  if (!PrinterSetupDialog.Execute(this)) return;
  PrintPlan(*GraphEditor, PrinterSetupDialog.Printer(), Title(), PrintOptions());
}

// The printed footer names the plan and dates it by its file, or today
// when it has none yet.
TPrintOptions THouseDesigner::PrintOptions() const {
  const QFileInfo file(SaveDialog.FileName());
  return {PrinterSetupDialog.Scale(), file.completeBaseName(),
          file.exists() ? file.lastModified() : QDateTime::currentDateTime()};
}

// Closing asks about unsaved changes (closeEvent).
void THouseDesigner::actFileExitExecute(QAction*) { close(); }

void THouseDesigner::closeEvent(QCloseEvent* Event) {
  bool mayClose = false;
  Guarded(this, [&] { mayClose = IsGraphSaved(); });
  if (!mayClose) return Event->ignore();
  SaveWindowState();
  // Closed for good: no later round may write the copy again.
  fAutosaveTimer->stop();
  ForgetRecoveryCopy();
  QMainWindow::closeEvent(Event);
}
