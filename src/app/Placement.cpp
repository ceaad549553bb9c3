// The tool palette's content and what its buttons do: command modes, room
// labels and pictures that wait for the next press on the plan, and the
// pen of new walls.
#include <QButtonGroup>
#include <QKeyEvent>

#include "ColorBox.h"
#include "DesignerTrace.h"
#include "DimensionLine.h"
#include "ErrorReport.h"
#include "IconList.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "Startup.h"
#include "ToolPalette.h"

const std::array<QString, 8> RoomLabels = {
    QStringLiteral("厅"), QStringLiteral("房"), QStringLiteral("卧"), QStringLiteral("餐"),
    QStringLiteral("厨"), QStringLiteral("卫"), QStringLiteral("储"), QStringLiteral("阳"),
};

namespace {

constexpr int PaletteWidth = 129;
const QColor PaletteButtonColor = Qt::white;
const QColor PaletteSelectedColor = QColor(0xE6, 0xE6, 0xE6);

struct TButtonInfo {
  const char* Caption;
  const char* Hint;  // nullptr: the caption
  int Image;
};

struct TCategoryInfo {
  const char* Caption;
  QRgb Color;
  std::vector<TButtonInfo> Buttons;
};

const std::vector<TCategoryInfo>& PaletteTable() {
  static const std::vector<TCategoryInfo> categories = {
      {QT_TRANSLATE_NOOP("THouseDesigner", "基本工具"),
       0xEAEAFF,
       {{"AA", QT_TRANSLATE_NOOP("THouseDesigner", "移动画布"), 39},
        {QT_TRANSLATE_NOOP("THouseDesigner", "选择"), nullptr, 29},
        {QT_TRANSLATE_NOOP("THouseDesigner", "画线"), nullptr, 80},
        {QT_TRANSLATE_NOOP("THouseDesigner", "插入矩形"), nullptr, 30},
        {QT_TRANSLATE_NOOP("THouseDesigner", "插入圆边矩形"), nullptr, 31},
        {QT_TRANSLATE_NOOP("THouseDesigner", "尺寸线"), QT_TRANSLATE_NOOP("THouseDesigner", "尺寸线：标出两点间的长度"),
         87}}},
      {QT_TRANSLATE_NOOP("THouseDesigner", "文字"),
       0xFFEAFF,
       {{QT_TRANSLATE_NOOP("THouseDesigner", "厅"), nullptr, 44},
        {QT_TRANSLATE_NOOP("THouseDesigner", "房"), nullptr, 45},
        {QT_TRANSLATE_NOOP("THouseDesigner", "卧"), nullptr, 46},
        {QT_TRANSLATE_NOOP("THouseDesigner", "餐"), nullptr, 51},
        {QT_TRANSLATE_NOOP("THouseDesigner", "厨"), nullptr, 50},
        {QT_TRANSLATE_NOOP("THouseDesigner", "卫"), nullptr, 47},
        {QT_TRANSLATE_NOOP("THouseDesigner", "储"), nullptr, 49},
        {QT_TRANSLATE_NOOP("THouseDesigner", "阳"), nullptr, 48}}},
      {QT_TRANSLATE_NOOP("THouseDesigner", "门窗,楼梯"),
       0xEAEAFF,
       {{QT_TRANSLATE_NOOP("THouseDesigner", "门"), nullptr, 70},
        {QT_TRANSLATE_NOOP("THouseDesigner", "拉门(小)"), nullptr, 68},
        {QT_TRANSLATE_NOOP("THouseDesigner", "拉门(大)"), nullptr, 67},
        {QT_TRANSLATE_NOOP("THouseDesigner", "平窗(小)"), nullptr, 72},
        {QT_TRANSLATE_NOOP("THouseDesigner", "平窗(大)"), nullptr, 71},
        {QT_TRANSLATE_NOOP("THouseDesigner", "凸窗(小)"), nullptr, 73},
        {QT_TRANSLATE_NOOP("THouseDesigner", "凸窗(大)"), nullptr, 74},
        {QT_TRANSLATE_NOOP("THouseDesigner", "垂直楼梯"), nullptr, 65},
        {QT_TRANSLATE_NOOP("THouseDesigner", "旋转楼梯"), nullptr, 77}}},
      {QT_TRANSLATE_NOOP("THouseDesigner", "床,桌柜,沙发"),
       0xFFEAFF,
       {{QT_TRANSLATE_NOOP("THouseDesigner", "床"), QT_TRANSLATE_NOOP("THouseDesigner", "单人床"), 42},
        {QT_TRANSLATE_NOOP("THouseDesigner", "双人床"), nullptr, 53},
        {QT_TRANSLATE_NOOP("THouseDesigner", "双人床(有床头柜)"), nullptr, 52},
        {QT_TRANSLATE_NOOP("THouseDesigner", "单人沙发"), nullptr, 54},
        {QT_TRANSLATE_NOOP("THouseDesigner", "3人沙发"), nullptr, 55},
        {QT_TRANSLATE_NOOP("THouseDesigner", "5人沙发"), nullptr, 56},
        {QT_TRANSLATE_NOOP("THouseDesigner", "方桌"), nullptr, 57},
        {QT_TRANSLATE_NOOP("THouseDesigner", "长桌"), nullptr, 58},
        {QT_TRANSLATE_NOOP("THouseDesigner", "电视机柜"), nullptr, 59},
        {QT_TRANSLATE_NOOP("THouseDesigner", "衣柜"), nullptr, 60},
        {QT_TRANSLATE_NOOP("THouseDesigner", "书桌"), nullptr, 63},
        {QT_TRANSLATE_NOOP("THouseDesigner", "餐桌"), nullptr, 79}}},
      {QT_TRANSLATE_NOOP("THouseDesigner", "其它"),
       0xEAFFEB,
       {{QT_TRANSLATE_NOOP("THouseDesigner", "马桶"), nullptr, 69},
        {QT_TRANSLATE_NOOP("THouseDesigner", "浴缸"), nullptr, 78},
        {QT_TRANSLATE_NOOP("THouseDesigner", "煤气灶"), nullptr, 61},
        {QT_TRANSLATE_NOOP("THouseDesigner", "洗衣机"), nullptr, 62},
        {QT_TRANSLATE_NOOP("THouseDesigner", "花卉"), nullptr, 66},
        {QT_TRANSLATE_NOOP("THouseDesigner", "洗手台(短)"), nullptr, 75},
        {QT_TRANSLATE_NOOP("THouseDesigner", "洗手台(长)"), nullptr, 76},
        {QT_TRANSLATE_NOOP("THouseDesigner", "方向"), nullptr, 64}}},
  };
  return categories;
}

// The palette picture of a category-2..4 button, in the data folder.
QString PicturePath(int Category, int Item) { return DataDir + QString::asprintf("/meta/%d_%d.bmp", Category, Item); }

}  // namespace

void THouseDesigner::CreatePalette() {
  LeftButtons = new TToolPalette(this);
  LeftButtons->setObjectName(QStringLiteral("LeftButtons"));
  LeftButtons->setFixedWidth(PaletteWidth);
  LeftButtons->SetButtonColor(PaletteButtonColor);
  LeftButtons->SetSelectedButtonColor(PaletteSelectedColor);
  LeftButtons->SetImageSource([](int Index) { return IconListPixmap(Index); });
  for (const TCategoryInfo& category : PaletteTable()) {
    int c = LeftButtons->AddCategory(tr(category.Caption), QColor(category.Color));
    for (const TButtonInfo& button : category.Buttons) {
      // A room label's caption is the text it places, in any language;
      // its hint says what the room is.
      const bool roomLabel = c == 1;
      QString caption = roomLabel ? QString::fromUtf8(button.Caption) : tr(button.Caption);
      QString hint = tr(button.Hint ? button.Hint : button.Caption);
      LeftButtons->AddButton(c, {caption, hint, button.Image});
    }
  }
  LeftButtons->OnButtonClicked = [this](TToolPalette* Sender, TPaletteItem Button) {
    // Any choice ends a tool kept in force; a double click makes it so again.
    fStickyTool.reset();
    Guarded(this, [&] { LeftButtonsButtonClicked(Sender, Button); });
    ShowToolInForce();  // also after a refused choice
  };
  LeftButtons->OnButtonDoubleClicked = [this](TToolPalette* Sender, TPaletteItem Button) {
    LeftButtonsButtonDoubleClicked(Sender, Button);
  };
}

void THouseDesigner::LeftButtonsButtonClicked(TToolPalette*, TPaletteItem Button) {
  const int c = Button.Category, i = Button.Index;
  DesignerDebugger().LogFmt(QStringLiteral("%d-%d"), {c, i});
  if (c == 0) {
    // Choosing to pan or select ends the wait for a press that places.
    if (i == 0 || i == 1) fPendingObject.reset();
    GraphEditor->SetCommandMode(cmInsertNode);
    switch (i) {
      case 0: GraphEditor->SetCommandMode(cmPan); break;
      case 1: GraphEditor->SetCommandMode(cmEdit); break;
      case 2:
        GraphEditor->SetDefaultLinkClass(&TWallLine::ClassInfo);
        GraphEditor->SetCommandMode(cmInsertLink);
        break;
      case 3: GraphEditor->SetDefaultNodeClass(&TRectangularNode::ClassInfo); break;
      case 4: GraphEditor->SetDefaultNodeClass(&TRoundRectangularNode::ClassInfo); break;
      case 5:
        GraphEditor->SetDefaultLinkClass(&TDimensionLine::ClassInfo);
        GraphEditor->SetCommandMode(cmInsertLink);
        break;
    }
    ShowToolInForce();
    return;
  }
  std::unique_ptr<TPendingObject> chosen;
  if (c == 1) {
    if (i < 0 || i >= int(RoomLabels.size())) return;
    chosen = TPendingObject::Label(Button, RoomLabels[size_t(i)]);
  } else {
    const QString path = PicturePath(c, i);
    DesignerDebugger().LogMsg(path);
    chosen = TPendingObject::Picture(Button, path);  // a missing picture raises: nothing changes
  }
  // Only one object waits: the one chosen before is dropped.
  fPendingObject = std::move(chosen);
  GraphEditor->SetScreenCursor(crCross);
  ShowToolInForce();
}

void THouseDesigner::AbandonPendingObject() {
  if (!fPendingObject) return;
  fPendingObject.reset();
  GraphEditor->SetScreenCursor(GraphEditor->Cursor());
  ShowToolInForce();
}

void THouseDesigner::ShowToolInForce() {
  if (fPendingObject) return LeftButtons->SetSelectedItem(fPendingObject->Button());
  switch (GraphEditor->CommandMode()) {
    case cmPan: return LeftButtons->SetSelectedItem({0, 0});
    case cmEdit:
    case cmViewOnly: return LeftButtons->SetSelectedItem({0, 1});
    case cmInsertLink:
      return LeftButtons->SetSelectedItem({0, GraphEditor->DefaultLinkClass() == &TDimensionLine::ClassInfo ? 5 : 2});
    case cmInsertNode:
      return LeftButtons->SetSelectedItem(
          {0, GraphEditor->DefaultNodeClass() == &TRoundRectangularNode::ClassInfo ? 4 : 3});
  }
}

void THouseDesigner::GraphEditorMouseDown(TGraphEditor* Sender, TMouseButton, TShiftState Shift, int X, int Y) {
  const TPoint at = Sender->ClientToGraph(X, Y);
  TGraphObject* pressed = Sender->FindObjectAt(at.X, at.Y);
  RememberPressedObject(pressed);
  BeginPressStep(Sender, Shift, pressed, at);
  if (!fPendingObject) return;
  const std::unique_ptr<TPendingObject> pending = std::move(fPendingObject);
  pending->Place(Sender, Sender->ClientToGraph(X, Y));
  ShowToolInForce();
}

// While an object waits, the cursor over the plan says so, over objects too.
void THouseDesigner::GraphEditorMouseMove(TGraphEditor* Sender) {
  if (fPendingObject) Sender->SetScreenCursor(crCross);
}

void THouseDesigner::keyPressEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_Escape && fStickyTool) return EndStickyTool();
  if (Event->key() == Qt::Key_Escape && fPendingObject) return AbandonPendingObject();
  QMainWindow::keyPressEvent(Event);
}

void THouseDesigner::GraphEditorKeyDown(TGraphEditor*, int& Key) {
  if (Key == Qt::Key_Escape && fPendingObject) AbandonPendingObject();
}

void THouseDesigner::LineWidthBtnGroupButtonClicked(QButtonGroup*, int Index) {
  DesignerDebugger().LogInteger(Index);
  switch (Index) {
    case 0: CurrentLineWidth = 1; break;
    case 1: CurrentLineWidth = 4; break;
    case 2: CurrentLineWidth = 8; break;
  }
}

void THouseDesigner::PenColorBoxChange(TColorBox* Sender) { CurrentLineColor = Sender->Selected(); }
