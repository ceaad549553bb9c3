// The designer's one window, THouseDesigner: toolbar and help link, tool
// palette, pen controls, the plan's graph control with its in-place label
// editor, and the status bar. Start-up, the palette, label editing and the
// commands each live in their own file beside this one.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "Actions.h"
#include "FileDialog.h"
#include "GraphEditor.h"
#include "GraphTypes.h"
#include "PendingObject.h"
#include "PrintLayout.h"
#include "PrinterSetupDialog.h"

class QButtonGroup;
class TGraphHistory;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QTimer;
class TRecoveryStore;
class QStatusBar;
class QToolBar;
class TColorBox;
class TGraphNode;
class TToolPalette;
struct TPaletteItem;

// The text of each room label button.
extern const std::array<QString, 8> RoomLabels;

// The document name of a plan never saved or opened, in the interface's
// language.
QString UntitledDocumentName();
// Room around the plan when it is fitted to the window, in plan pixels
// (40 cm).
constexpr int32_t FitMargin = 20;
// The extension of plan documents.
inline const QString PlanExtension = QStringLiteral("kvf");

// The action codes ForEachCallback understands.
enum TForEachObjectAction { feoDelete = 0, feoSelect = 1, feoSendToBack = 3, feoBringToFront = 4 };

// The link the help label opens: the help page installed beside the
// program.
QString HelpPageUrl();

class THouseDesigner : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int DesignWidth = 551;
  static constexpr int DesignHeight = 441;

  explicit THouseDesigner(QWidget* Parent = nullptr);
  ~THouseDesigner() override;

  // Components. All are owned by the window through Qt's parent chain.
  QToolBar* ToolBar1 = nullptr;
  QLabel* LinkLabel = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  TToolPalette* LeftButtons = nullptr;
  QWidget* RightPanel = nullptr;
  QWidget* TopPanel = nullptr;
  QLabel* Image1 = nullptr;
  QWidget* LineWidthBtnGroup = nullptr;
  QButtonGroup* LineWidthButtons = nullptr;
  TColorBox* PenColorBox = nullptr;
  TGraphEditor* GraphEditor = nullptr;
  QLineEdit* LabelEdit = nullptr;
  TCommandList* ActionList = nullptr;

  // The commands that carry behaviour (all of ActionList: ActionList->Find).
  QAction *actFileNew = nullptr, *actFileOpen = nullptr, *actFileSave = nullptr;
  QAction *actFileSaveAs = nullptr, *actFilePrint = nullptr, *actFileExit = nullptr;
  QAction *actEditCut = nullptr, *actEditCopy = nullptr, *actEditPaste = nullptr;
  QAction *actEditDelete = nullptr, *actEditSelectAll = nullptr, *actEditBringToFront = nullptr;
  QAction *actEditSendToBack = nullptr, *actEditLockNodes = nullptr, *actEditLockLinks = nullptr;
  QAction *actEditRotate = nullptr, *actEditUndo = nullptr, *actEditRedo = nullptr;
  QAction* actFileSavePlanAs = nullptr;
  QAction *actViewZoomIn = nullptr, *actViewZoomOut = nullptr, *actViewActualSize = nullptr;
  QAction* actViewWholeGraph = nullptr;
  // The status bar's one panel: cursor position, zoom, selection or measure.
  QLabel* StatusPanel = nullptr;
  // The zoom commands' buttons, right of the pen controls.
  QWidget* ZoomButtons = nullptr;
  // The plan's undo history (owned by the window).
  TGraphHistory* History = nullptr;
  // The recent plans, under the Open button.
  QMenu* RecentMenu = nullptr;

  TFileDialog OpenDialog;
  TFileDialog SaveDialog;
  TFileDialog SaveAsDialog;
  TPrinterSetupDialog PrinterSetupDialog;

  // True after a document was opened read-only.
  bool IsReadonly = false;

  // The palette object waiting for the next press on the plan, or nullptr.
  const TPendingObject* PendingObject() const { return fPendingObject.get(); }
  // Drops the waiting object, if any, and shows the tool in force.
  void AbandonPendingObject();
  // The palette tool a double click made stay in force, if any.
  std::optional<TPaletteItem> StickyTool() const { return fStickyTool; }
  // The length being typed for the segment drawn, in metres.
  const QString& TypedLength() const { return fTypedLength; }
  // The status panel's text for the plan as it is now.
  QString StatusText();

  // Event handlers.
  void FormShow();
  void LinkLabelLinkClick(QLabel* Sender, const QString& Link);
  void LeftButtonsButtonClicked(TToolPalette* Sender, TPaletteItem Button);
  void LineWidthBtnGroupButtonClicked(QButtonGroup* Sender, int Index);
  void PenColorBoxChange(TColorBox* Sender);
  void GraphEditorMouseDown(TGraphEditor* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void GraphEditorObjectClick(TGraphEditor* Graph, TGraphObject* GraphObject);
  void LabelEditKeyPress(QLineEdit* Sender, QChar& Key);
  void LabelEditExit(QLineEdit* Sender);

  // Document commands (FileCommands.cpp).
  void actFileNewExecute(QAction* Sender);
  void actFileOpenExecute(QAction* Sender);
  void actFileSavePlanAsExecute(QAction* Sender);
  void actFileSaveExecute(QAction* Sender);
  void actFileSaveAsExecute(QAction* Sender);
  void actFileSaveAsUpdate(QAction* Sender);
  void actFilePrintExecute(QAction* Sender);
  TPrintOptions PrintOptions() const;
  void actFileExitExecute(QAction* Sender);
  // Opens FileName as the document, read-only or not; a file that cannot
  // be read raises and leaves the plan as it was.
  void OpenDocument(const QString& FileName, bool ReadOnly);
  // Recent plans and the window's state (DocumentState.cpp).
  void OpenRecentFile(const QString& FileName);
  void FillRecentMenu();
  // The size, place and palette of the last run; the very first run opens
  // at two thirds of the screen.
  void RestoreWindowState();
  void SaveWindowState();
  // Recovery copies (Autosave.cpp): written while the plan has unsaved
  // changes, removed when it has none.
  void Autosave();
  void ForgetRecoveryCopy();
  // Offers back a plan a designer no longer running left unsaved; true
  // when one was brought back.
  bool OfferRecovery();
  // SIGTERM and SIGHUP keep a recovery copy and end the session.
  void WatchEndingSignals();
  // Whether the plan may be replaced or closed: true when it is unchanged,
  // saved on request, or its changes are to be dropped.
  bool IsGraphSaved();

  // Edit commands (EditCommands.cpp).
  void actEditCutExecute(QAction* Sender);
  void actEditCutUpdate(QAction* Sender);
  void actEditCopyExecute(QAction* Sender);
  void actEditCopyUpdate(QAction* Sender);
  void actEditPasteExecute(QAction* Sender);
  void actEditPasteUpdate(QAction* Sender);
  void actEditDeleteExecute(QAction* Sender);
  void actEditDeleteUpdate(QAction* Sender);
  void actEditSelectAllExecute(QAction* Sender);
  void actEditSelectAllUpdate(QAction* Sender);
  void actEditBringToFrontExecute(QAction* Sender);
  void actEditBringToFrontUpdate(QAction* Sender);
  void actEditSendToBackExecute(QAction* Sender);
  void actEditSendToBackUpdate(QAction* Sender);
  void actEditLockNodesExecute(QAction* Sender);
  void actEditLockNodesUpdate(QAction* Sender);
  void actEditLockLinksExecute(QAction* Sender);
  void actEditLockLinksUpdate(QAction* Sender);
  void actEditRotateExecute(QAction* Sender);
  // Undo and redo (History.cpp).
  void actEditUndoExecute(QAction* Sender);
  void actEditUndoUpdate(QAction* Sender);
  void actEditRedoExecute(QAction* Sender);
  void actEditRedoUpdate(QAction* Sender);
  // The zoom commands (ZoomCommands.cpp).
  void actViewZoomInExecute(QAction* Sender);
  void actViewZoomOutExecute(QAction* Sender);
  void actViewActualSizeExecute(QAction* Sender);
  void actViewWholeGraphExecute(QAction* Sender);
  // Applies the action *UserData (a TForEachObjectAction) to GraphObject;
  // false stops the walk.
  bool ForEachCallback(TGraphObject* GraphObject, void* UserData);

 protected:
  void showEvent(QShowEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  // Closing asks about unsaved changes first.
  void closeEvent(QCloseEvent* Event) override;
  // Escape abandons a waiting palette object wherever the focus is.
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  void CreateToolBar();
  void CreateLinkLabel();
  void CreateStatusBar();
  void CreatePalette();
  void CreateRightPanel();
  void CreateTopPanel();
  void CreateGraph();
  void CreateLabelEdit();
  void CreateRecentMenu();
  // Save As under the Save button.
  void CreateSaveMenu();
  void CreateAutosave();
  void CreateZoomButtons();
  void KeepRoomAroundPlan();
  // Refreshes the status panel once the events in hand are done.
  void ScheduleStatus();
  void ShowStatus();
  // Sticky tools and typed lengths (PreciseDrawing.cpp).
  void LeftButtonsButtonDoubleClicked(TToolPalette* Sender, TPaletteItem Button);
  // Puts the sticky tool back in force once what it placed is done.
  void RearmStickyTool();
  void EndStickyTool();
  // Digits, '.', Backspace and Enter while a line point is dragged; true
  // when the key was taken.
  bool TypedLengthKey(QKeyEvent* Press);
  void FindCommands();
  // Where each command gets its Execute and Update handlers.
  void BindCommandHandlers();
  void GraphEditorMouseMove(TGraphEditor* Sender);
  // The history's side of the plan's input (History.cpp).
  void CreateHistory();
  // Pressed: the object the press landed on (At, in graph units), or none.
  QString PressStepText(TGraphEditor* Sender, TGraphObject* Pressed, const TPoint& At) const;
  void BeginPressStep(TGraphEditor* Sender, TShiftState Shift, TGraphObject* Pressed, const TPoint& At);
  void EndPressStep();
  bool GraphKeyFilter(QEvent* Event);
  void GraphEditorKeyHandled();
  // Runs Action as one step of the history that may change Candidates.
  void RecordStep(const QString& Text, const std::vector<TGraphObject*>& Candidates,
                  const std::function<void()>& Action);
  std::vector<TGraphObject*> Selection();
  // Notes what a press on the plan landed on, for the click that follows.
  void RememberPressedObject(TGraphObject* Pressed);
  void GraphEditorKeyDown(TGraphEditor* Sender, int& Key);
  // Marks the palette button of what a press on the plan does now.
  void ShowToolInForce();
  // Caption: the document's file name, " - ", the application title.
  void ShowDocumentCaption();
  // Save while the document is the file opened read-only: a new name is
  // asked for, and that file is never written.
  void SaveUnderNewName();
  // Writes the plan to FileName and marks this state as the saved one.
  void SavePlan(const QString& FileName);
  bool IsReadonlyDocument() const;
  bool HasSelection();
  // ForEachCallback with Action over the selected objects or all of them.
  void ForEach(TForEachObjectAction Action, bool Selection);

  bool fShown = false;
  std::unique_ptr<TRecoveryStore> fRecovery;
  QTimer* fAutosaveTimer = nullptr;
  std::unique_ptr<TPendingObject> fPendingObject;
  // The object the last press on the plan landed on, and where it was.
  struct TPressedObject {
    uint32_t ID;
    TRect Bounds;
  };
  std::optional<TPressedObject> fPressedObject;
  // A step of the history is open for a press on the plan or an arrow key.
  bool fPressStep = false;
  bool fKeyStep = false;
  // The file last opened read-only (empty when the plan is editable).
  QString fReadonlyFileName;
  std::optional<TPaletteItem> fStickyTool;
  // The plan point under the mouse, once it has been over the plan.
  std::optional<TPoint> fCursorAt;
  QString fTypedLength;
  QTimer* fStatusTimer = nullptr;
};
