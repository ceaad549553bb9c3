// The window's layout, its first showing and the help link.
#include "MainForm.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "CaptionButton.h"
#include "ColorBox.h"
#include "DesignerSettings.h"
#include "DesignerTrace.h"
#include "DocumentErrors.h"
#include "ErrorReport.h"
#include "GraphHistory.h"
#include "GraphNode.h"
#include "IconList.h"
#include "IntMath.h"
#include "InterfaceLanguage.h"
#include "PlanObjects.h"
#include "PlanUnits.h"
#include "RecoveryStore.h"
#include "Startup.h"
#include "ToolPalette.h"
#include "Translations.h"

namespace {

constexpr int ToolBarHeight = 29;
constexpr int ToolButtonWidth = 23;
constexpr int ToolButtonHeight = 22;
constexpr int SeparatorWidth = 8;
constexpr int StatusBarHeight = 19;
constexpr int StatusPanelWidth = 500;
constexpr int TopPanelHeight = 31;
constexpr QRect LinkLabelBounds(462, 7, 52, 17);
constexpr QRect PenPictureBounds(2, 3, 24, 24);
constexpr QRect LineWidthGroupBounds(25, 2, 80, 25);
constexpr QRect PenColorBoxBounds(107, 3, 38, 22);
constexpr QSize LabelEditSize(49, 21);

const QString WindowFontFamily = QStringLiteral("WenQuanYi Micro Hei");
constexpr int WindowFontPixels = 11;

// The line-width buttons: caption and image.
const struct {
  const char* Caption;
  int Image;
} kLineWidthButtonTable[] = {{QT_TRANSLATE_NOOP("THouseDesigner", "细"), 81},
                             {QT_TRANSLATE_NOOP("THouseDesigner", "中"), 82},
                             {QT_TRANSLATE_NOOP("THouseDesigner", "粗"), 83}};

}  // namespace

QString UntitledDocumentName() { return THouseDesigner::tr("未命名"); }

QString HelpPageUrl() {
  const bool chinese = LoadedInterfaceLanguage() == TInterfaceLanguage::Chinese;
  return QUrl::fromLocalFile(DataDir + (chinese ? QStringLiteral("help.html") : QStringLiteral("help.en.html")))
      .toString();
}

THouseDesigner::THouseDesigner(QWidget* Parent)
    : QMainWindow(Parent),
      OpenDialog(fdOpen, QStringLiteral("Open Graph"), tr("户型图 (*.kvf)|*.kvf|All Files (*.*)|*.*"), PlanExtension,
                 QString()),
      SaveDialog(fdSave, tr("保存户型图为"), tr("户型图文件 (*.kvf)|*.kvf|All Files (*.*)|*.*"), PlanExtension,
                 UntitledDocumentName()),
      // Every filter but the JPEG one writes a bitmap file.
      SaveAsDialog(fdSave, tr("保存户型图为"),
                   tr("JPEG 文件|*.jpg|位图文件 (*.bmp)|*.bmp|PDF 文件 (*.pdf)|*.pdf|All Files (*.*)|*.*"),
                   QStringLiteral("bmp"), UntitledDocumentName()) {
  SaveDialog.Options().OverwritePrompt = true;
  SaveAsDialog.Options().OverwritePrompt = true;
  setObjectName(QStringLiteral("HouseDesigner"));
  setWindowTitle(ApplicationTitle.isEmpty() ? DesignerTitle : ApplicationTitle);
  setWindowIcon(WindowIcon());
  QFont windowFont(WindowFontFamily);
  windowFont.setPixelSize(WindowFontPixels);
  setFont(windowFont);
  setLayoutDirection(Qt::LeftToRight);

  ActionList = new TCommandList(this);
  FindCommands();
  CreateToolBar();
  CreateStatusBar();
  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  CreatePalette();
  CreateRightPanel();
  row->addWidget(LeftButtons);
  row->addWidget(RightPanel, 1);
  setCentralWidget(central);
  CreateLinkLabel();
  CreateRecentMenu();
  CreateSaveMenu();
  CreateAutosave();
  BindCommandHandlers();
  resize(DesignWidth, DesignHeight);
}

THouseDesigner::~THouseDesigner() {
  // The children outlive this part of the window: they must no longer
  // call back into it.
  LabelEdit->removeEventFilter(this);
  GraphEditor->OnMouseDown = nullptr;
  GraphEditor->OnObjectClick = nullptr;
  GraphEditor->OnMouseMove = nullptr;
  GraphEditor->OnDragMeasure = nullptr;
  GraphEditor->OnZoomChange = nullptr;
  GraphEditor->OnObjectSelect = nullptr;
  GraphEditor->OnObjectChange = nullptr;
  GraphEditor->OnGraphChange = nullptr;
  GraphEditor->OnKeyDown = nullptr;
  GraphEditor->OnCommandModeChange = nullptr;
  GraphEditor->OnCanHookLink = nullptr;
  GraphEditor->OnObjectInsert = nullptr;
  GraphEditor->OnMouseUp = nullptr;
  GraphEditor->removeEventFilter(this);
  LeftButtons->OnButtonClicked = nullptr;
  LeftButtons->OnButtonDoubleClicked = nullptr;
}

void THouseDesigner::FindCommands() {
  auto find = [this](const char* Name) { return ActionList->Find(QString::fromLatin1(Name)); };
  actFileNew = find("actFileNew");
  actFileOpen = find("actFileOpen");
  actFileSave = find("actFileSave");
  actFileSaveAs = find("actFileSaveAs");
  actFilePrint = find("actFilePrint");
  actFileExit = find("actFileExit");
  actEditCut = find("actEditCut");
  actEditCopy = find("actEditCopy");
  actEditPaste = find("actEditPaste");
  actEditDelete = find("actEditDelete");
  actEditSelectAll = find("actEditSelectAll");
  actEditBringToFront = find("actEditBringToFront");
  actEditSendToBack = find("actEditSendToBack");
  actEditLockNodes = find("actEditLockNodes");
  actEditLockLinks = find("actEditLockLinks");
  actEditRotate = find("actEditRotate");
  actEditUndo = find("actEditUndo");
  actEditRedo = find("actEditRedo");
  actFileSavePlanAs = find("actFileSavePlanAs");
  actViewZoomIn = find("actViewZoomIn");
  actViewZoomOut = find("actViewZoomOut");
  actViewActualSize = find("actViewActualSize");
  actViewWholeGraph = find("actViewWholeGraph");
}

void THouseDesigner::CreateToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  ToolBar1->setIconSize(QSize(IconListSize, IconListSize));
  ToolBar1->setFixedHeight(ToolBarHeight);
  addToolBar(Qt::TopToolBarArea, ToolBar1);
  auto add = [this](QAction* Action) {
    ToolBar1->addAction(Action);
    if (QWidget* button = ToolBar1->widgetForAction(Action)) button->setFixedSize(ToolButtonWidth, ToolButtonHeight);
  };
  auto separate = [this] {
    auto* line = new QFrame(ToolBar1);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedSize(SeparatorWidth, ToolButtonHeight);
    ToolBar1->addWidget(line);
  };
  for (QAction* a : {actFileNew, actFileOpen, actFileSave, actFileSaveAs}) add(a);
  separate();
  for (QAction* a : {actEditUndo, actEditRedo}) add(a);
  separate();
  for (QAction* a : {actEditCut, actEditCopy, actEditPaste, actEditDelete}) add(a);
  separate();
  for (QAction* a :
       {actEditRotate, actEditLockNodes, actEditSendToBack, actEditBringToFront, actFilePrint, actFileExit})
    add(a);
}

void THouseDesigner::CreateLinkLabel() {
  LinkLabel = new QLabel(this);
  LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
  LinkLabel->setGeometry(LinkLabelBounds);
  LinkLabel->setTextFormat(Qt::RichText);
  LinkLabel->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(HelpPageUrl().toHtmlEscaped(), tr("使用帮助")));
  LinkLabel->setOpenExternalLinks(false);
  LinkLabel->setFocusPolicy(Qt::NoFocus);
  connect(LinkLabel, &QLabel::linkActivated, this,
          [this](const QString& Link) { LinkLabelLinkClick(LinkLabel, Link); });
  LinkLabel->raise();
}

void THouseDesigner::CreateStatusBar() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(StatusBarHeight);
  StatusBar1->setLayoutDirection(Qt::LeftToRight);
  StatusPanel = new QLabel(StatusBar1);
  StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
  StatusPanel->setFixedWidth(StatusPanelWidth);
  StatusBar1->addWidget(StatusPanel);
  setStatusBar(StatusBar1);
  fStatusTimer = new QTimer(this);
  fStatusTimer->setSingleShot(true);
  fStatusTimer->setInterval(0);
  connect(fStatusTimer, &QTimer::timeout, this, [this] { ShowStatus(); });
}

void THouseDesigner::CreateRightPanel() {
  // A one-pixel bevel frames the pen controls and the plan.
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(1);
  RightPanel = frame;
  RightPanel->setObjectName(QStringLiteral("RightPanel"));
  auto* column = new QVBoxLayout(RightPanel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  CreateTopPanel();
  CreateGraph();
  column->addWidget(TopPanel);
  column->addWidget(GraphEditor, 1);
}

void THouseDesigner::CreateTopPanel() {
  TopPanel = new QWidget(RightPanel);
  TopPanel->setObjectName(QStringLiteral("TopPanel"));
  TopPanel->setFixedHeight(TopPanelHeight);

  Image1 = new QLabel(TopPanel);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(PenPictureBounds);
  Image1->setPixmap(QPixmap::fromImage(PenPicture()));

  LineWidthBtnGroup = new QWidget(TopPanel);
  LineWidthBtnGroup->setObjectName(QStringLiteral("LineWidthBtnGroup"));
  LineWidthBtnGroup->setGeometry(LineWidthGroupBounds);
  LineWidthBtnGroup->setToolTip(tr("划线的粗细"));
  LineWidthButtons = new QButtonGroup(LineWidthBtnGroup);
  LineWidthButtons->setExclusive(true);
  const int count = int(std::size(kLineWidthButtonTable));
  for (int i = 0; i < count; ++i) {
    auto* button = new TCaptionButton(LineWidthBtnGroup);
    button->setText(tr(kLineWidthButtonTable[i].Caption));
    button->setIcon(IconListIcon(kLineWidthButtonTable[i].Image));
    button->setCheckable(true);
    button->setToolTip(LineWidthBtnGroup->toolTip());
    int left = Div(LineWidthGroupBounds.width() * i, count);
    int right = Div(LineWidthGroupBounds.width() * (i + 1), count);
    button->setGeometry(left, 0, right - left, LineWidthGroupBounds.height());
    LineWidthButtons->addButton(button, i);
  }
  connect(LineWidthButtons, &QButtonGroup::idClicked, this,
          [this](int Index) { LineWidthBtnGroupButtonClicked(LineWidthButtons, Index); });

  PenColorBox = new TColorBox(TopPanel);
  PenColorBox->setObjectName(QStringLiteral("PenColorBox"));
  PenColorBox->setGeometry(PenColorBoxBounds);
  PenColorBox->setToolTip(tr("划线的颜色"));
  PenColorBox->OnChange = [this](TColorBox* Sender) { Guarded(this, [&] { PenColorBoxChange(Sender); }); };
  CreateZoomButtons();
}

void THouseDesigner::CreateGraph() {
  GraphEditor = new TGraphEditor(RightPanel);
  GraphEditor->setObjectName(QStringLiteral("GraphEditor"));
  // Copied objects paste as pictures into other programs too (PNG and SVG).
  GraphEditor->SetClipboardFormats(cfNative | cfBitmap | cfMetafile);
  GraphEditor->OnMouseDown = [this](TGraphEditor* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    Guarded(this, [&] { GraphEditorMouseDown(Sender, Button, Shift, X, Y); });
  };
  GraphEditor->OnObjectClick = [this](TGraphEditor* Graph, TGraphObject* GraphObject) {
    Guarded(this, [&] { GraphEditorObjectClick(Graph, GraphObject); });
  };
  GraphEditor->OnMouseMove = [this](TGraphEditor* Sender, TShiftState, int X, int Y) {
    fCursorAt = Sender->ClientToGraph(X, Y);
    ScheduleStatus();
    GraphEditorMouseMove(Sender);
  };
  GraphEditor->OnDragMeasure = [](TGraphEditor*, TGraphObject* GraphObject, THitCode HitCode) {
    return DragMeasureText(*GraphObject, HitCode);
  };
  GraphEditor->OnZoomChange = [this](TGraphEditor*) { ScheduleStatus(); };
  GraphEditor->OnObjectSelect = [this](TGraphEditor*, TGraphObject*) { ScheduleStatus(); };
  GraphEditor->OnObjectChange = [this](TGraphEditor*, TGraphObject*) { ScheduleStatus(); };
  GraphEditor->OnGraphChange = [this](TGraphEditor*) { ScheduleStatus(); };
  GraphEditor->OnKeyDown = [this](TGraphEditor* Sender, int& Key, TShiftState) {
    GraphEditorKeyHandled();
    GraphEditorKeyDown(Sender, Key);
  };
  GraphEditor->OnCommandModeChange = [this](TGraphEditor*) { ShowToolInForce(); };
  // A room label draws no box: its invisible box must not catch a wall end.
  GraphEditor->OnCanHookLink = [](TGraphEditor*, TGraphObject* GraphObject, TGraphLink*, int, bool& CanHook) {
    if (GraphObject->InheritsFrom(&TZyTextBoxNode::ClassInfo)) CanHook = false;
  };
  KeepRoomAroundPlan();
  CreateLabelEdit();
  CreateHistory();
}

void THouseDesigner::CreateLabelEdit() {
  LabelEdit = new QLineEdit(GraphEditor->viewport());
  LabelEdit->setObjectName(QStringLiteral("LabelEdit"));
  LabelEdit->setFrame(false);
  LabelEdit->setAlignment(Qt::AlignCenter);
  LabelEdit->resize(LabelEditSize);
  LabelEdit->hide();
  LabelEdit->installEventFilter(this);
}

// The document named on the command line opens when the window first
// shows; a load error is reported and the window stays up.
void THouseDesigner::showEvent(QShowEvent* Event) {
  QMainWindow::showEvent(Event);
  if (fShown) return;
  fShown = true;
  Guarded(this, [this] { FormShow(); });
}

void THouseDesigner::FormShow() {
  DesignerDebugger().LogMsg(QStringLiteral("FormShow: FileToLoad=") + FileToLoad);
  if (FileToLoad.isEmpty()) return;
  GraphEditor->SetCommandMode(cmEdit);
  WithDocumentErrors(TDocumentTask::Open, [&] { GraphEditor->LoadFromFile(FileToLoad); });
  GraphEditor->SetZoom(100);
  History->Clear();
  TRecentFiles::Add(FileToLoad);
  SaveDialog.SetFileName(FileToLoad);
  setWindowTitle(FileToLoad + QStringLiteral(" - ") + ApplicationTitle);
}

void THouseDesigner::LinkLabelLinkClick(QLabel*, const QString& Link) { QDesktopServices::openUrl(QUrl(Link)); }

// One Bind per command that carries behaviour; commands without an
// Execute handler stay disabled, those without an Update handler enabled.
void THouseDesigner::BindCommandHandlers() {
  using THandler = void (THouseDesigner::*)(QAction*);
  auto bind = [this](QAction* Action, THandler Execute, THandler Update = nullptr) {
    TCommandHandlers handlers;
    handlers.Execute = [this, Execute](QAction* Sender) { (this->*Execute)(Sender); };
    if (Update) handlers.Update = [this, Update](QAction* Sender) { (this->*Update)(Sender); };
    ActionList->Bind(Action, std::move(handlers));
  };
  using H = THouseDesigner;
  bind(actFileNew, &H::actFileNewExecute);
  bind(actFileOpen, &H::actFileOpenExecute);
  bind(actFileSavePlanAs, &H::actFileSavePlanAsExecute);
  bind(actFileSave, &H::actFileSaveExecute);
  bind(actFileSaveAs, &H::actFileSaveAsExecute, &H::actFileSaveAsUpdate);
  bind(actFilePrint, &H::actFilePrintExecute);
  bind(actFileExit, &H::actFileExitExecute);
  bind(actEditCut, &H::actEditCutExecute, &H::actEditCutUpdate);
  bind(actEditCopy, &H::actEditCopyExecute, &H::actEditCopyUpdate);
  bind(actEditPaste, &H::actEditPasteExecute, &H::actEditPasteUpdate);
  bind(actEditDelete, &H::actEditDeleteExecute, &H::actEditDeleteUpdate);
  bind(actEditSelectAll, &H::actEditSelectAllExecute, &H::actEditSelectAllUpdate);
  bind(actEditBringToFront, &H::actEditBringToFrontExecute, &H::actEditBringToFrontUpdate);
  bind(actEditSendToBack, &H::actEditSendToBackExecute, &H::actEditSendToBackUpdate);
  // The locks show whether they are on.
  actEditLockNodes->setCheckable(true);
  actEditLockLinks->setCheckable(true);
  bind(actEditLockNodes, &H::actEditLockNodesExecute, &H::actEditLockNodesUpdate);
  bind(actEditLockLinks, &H::actEditLockLinksExecute, &H::actEditLockLinksUpdate);
  bind(actEditRotate, &H::actEditRotateExecute);
  bind(actEditUndo, &H::actEditUndoExecute, &H::actEditUndoUpdate);
  bind(actEditRedo, &H::actEditRedoExecute, &H::actEditRedoUpdate);
  bind(actViewZoomIn, &H::actViewZoomInExecute);
  bind(actViewZoomOut, &H::actViewZoomOutExecute);
  bind(actViewActualSize, &H::actViewActualSizeExecute);
  bind(actViewWholeGraph, &H::actViewWholeGraphExecute);
}
