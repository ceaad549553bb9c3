#include "PlanGenerator.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "IntMath.h"
#include "Picture.h"
#include "PlanObjects.h"
#include "Stream.h"
#include "UpdateBracket.h"

namespace {
const QString kRoomTexts[] = {QStringLiteral("厅"), QStringLiteral("房"), QStringLiteral("卧"), QStringLiteral("餐"),
                              QStringLiteral("厨"), QStringLiteral("卫"), QStringLiteral("储"), QStringLiteral("阳")};

// Picture sizes: a door, two windows, then furniture and fittings; none
// below the 16 pixels a node always has.
constexpr QSize kPatternSizes[] = {{32, 32}, {48, 16}, {16, 48}, {16, 16}, {24, 16}, {24, 24}, {32, 24}, {32, 32}};
constexpr int kDoorPattern = 0, kWindowPattern = 1, kTallWindowPattern = 2, kFirstFurniturePattern = 3;

// A symbol-like drawing in black on white.
QImage MakePattern(QSize Size, int Index) {
  QImage image(Size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.drawRect(0, 0, Size.width() - 1, Size.height() - 1);
  if (Index % 2 == 0)
    p.drawLine(0, 0, Size.width() - 1, Size.height() - 1);
  else
    p.drawEllipse(2, 2, Size.width() - 5, Size.height() - 5);
  return image;
}

// Sets the process-wide wall pen for the walls created in its lifetime.
class TWallPen {
 public:
  TWallPen() : fWidth(CurrentLineWidth), fColor(CurrentLineColor) {}
  ~TWallPen() {
    CurrentLineWidth = fWidth;
    CurrentLineColor = fColor;
  }
  TWallPen(const TWallPen&) = delete;
  TWallPen& operator=(const TWallPen&) = delete;

 private:
  int fWidth;
  TColor fColor;
};
}  // namespace

// Lays out one flat on its tile, stopping when the object budget runs out.
class TPlanGenerator::TFlatBuilder {
 public:
  TFlatBuilder(TPlanGenerator& Owner, TGraphEditor& Graph, TPlanSummary& Summary, int& Budget, TPoint Origin)
      : fOwner(Owner),
        fGraph(Graph),
        fSummary(Summary),
        fBudget(Budget),
        fLeft(Origin.X + 16),
        fTop(Origin.Y + 16),
        fRight(Origin.X + FlatWidth - 16),
        fBottom(Origin.Y + FlatHeight - 16) {}

  void Build() {
    OuterWalls();
    int32_t split = fLeft + Random(200, 320);
    HookedPartition({split, fTop}, {split, fBottom});
    int32_t leftRoom = fTop + Random(180, 300);
    HookedPartition({fLeft, leftRoom}, {split, leftRoom});
    int32_t rightRoom = fTop + Random(150, 330);
    HookedPartition({split, rightRoom}, {fRight, rightRoom});
    BentWalls(split, rightRoom);
    Windows();
    ThinLines();
    for (int i = 0; i < 16; ++i) Furniture();
    for (int i = 0; i < 6; ++i) Label();
  }

 private:
  int32_t Random(int32_t Low, int32_t High) {
    return std::uniform_int_distribution<int32_t>(Low, High)(fOwner.fRandom);
  }
  bool Take() {
    if (fBudget <= 0) return false;
    --fBudget;
    return true;
  }

  TGraphLink* Wall(const TPoints& Points, int Width, TGraphObject* Source = nullptr, TGraphObject* Target = nullptr) {
    if (!Take()) return nullptr;
    CurrentLineWidth = Width;
    CurrentLineColor = Width == 1 ? clGray : clBlack;
    TGraphLink* link;
    if (Source)
      link = fGraph.InsertLink(Source, Points, &TWallLine::ClassInfo);
    else if (Target)
      link = fGraph.InsertLink(Points, Target, &TWallLine::ClassInfo);
    else
      link = fGraph.InsertLink(Points, &TWallLine::ClassInfo);
    if (!link) return nullptr;
    ++fSummary.Walls;
    if (Source || Target) ++fSummary.HookedWalls;
    return link;
  }

  TGraphNode* Picture(const TPoint& Center, int PatternIndex) {
    if (!Take()) return nullptr;
    const QImage& pattern = fOwner.Pattern(PatternIndex);
    int32_t w = pattern.width(), h = pattern.height();
    // Each node reads its picture file as a placed palette picture or a
    // loaded document does; equal files then share their pixels.
    TMemoryStream file;
    const QByteArray& bytes = fOwner.PatternFile(PatternIndex);
    file.WriteBuffer(bytes.constData(), bytes.size());
    file.SetPosition(0);
    TBitmap picture;
    picture.LoadFromStream(file);
    TRect bounds(Center.X - Div(w, 2), Center.Y - Div(h, 2), Center.X - Div(w, 2) + w, Center.Y - Div(h, 2) + h);
    TGraphNode* node = fGraph.InsertNode(bounds, &TZyImageNode::ClassInfo);
    if (!node) return nullptr;
    node->Background()->SetGraphic(&picture);
    ++fSummary.Pictures;
    return node;
  }

  void OuterWalls() {
    Wall({{fLeft, fTop}, {fRight, fTop}}, 8);
    Wall({{fRight, fTop}, {fRight, fBottom}}, 8);
    Wall({{fRight, fBottom}, {fLeft, fBottom}, {fLeft, fTop}}, 8);
  }

  // A partition from A to B with a door in it; its two halves are hooked to
  // the door and follow it.
  void HookedPartition(const TPoint& A, const TPoint& B) {
    bool vertical = A.X == B.X;
    int32_t along = vertical ? Random(A.Y + 60, B.Y - 60) : Random(A.X + 60, B.X - 60);
    TGraphNode* door = Picture(vertical ? TPoint(A.X, along) : TPoint(along, A.Y), kDoorPattern);
    if (!door) return;
    Wall({A}, 4, nullptr, door);
    Wall({B}, 4, door, nullptr);
  }

  void BentWalls(int32_t Split, int32_t RightRoom) {
    int32_t closet = fRight - Random(90, 140);
    Wall({{closet, fBottom}, {closet, fBottom - 100}, {fRight, fBottom - 100}}, 4);
    int32_t bath = Split + Random(30, 60);
    Wall({{bath, RightRoom}, {bath, RightRoom + 90}, {bath + 110, RightRoom + 90}, {bath + 110, RightRoom}}, 4);
    int32_t store = fLeft + Random(60, 120);
    Wall({{fLeft, fBottom - 90}, {store, fBottom - 90}, {store, fBottom}}, 4);
  }

  void Windows() {
    Picture({Random(fLeft + 60, fRight - 60), fTop}, kWindowPattern);
    Picture({Random(fLeft + 60, fRight - 60), fBottom}, kWindowPattern);
    Picture({fLeft, Random(fTop + 60, fBottom - 60)}, kTallWindowPattern);
    Picture({fRight, Random(fTop + 60, fBottom - 60)}, kTallWindowPattern);
  }

  void ThinLines() {
    for (int i = 0; i < 6; ++i) {
      TPoint a{Random(fLeft + 20, fRight - 80), Random(fTop + 20, fBottom - 80)};
      TPoint b{a.X + Random(20, 60), a.Y};
      if (i % 3 == 0)
        Wall({a, b, {b.X, b.Y + Random(20, 60)}}, 1);
      else
        Wall({a, b}, 1);
    }
  }

  void Furniture() {
    TPoint c{Random(fLeft + 30, fRight - 30), Random(fTop + 30, fBottom - 30)};
    Picture(c, kFirstFurniturePattern + Random(0, int(std::size(kPatternSizes)) - kFirstFurniturePattern - 1));
  }

  void Label() {
    if (!Take()) return;
    int32_t x = Random(fLeft + 10, fRight - 110), y = Random(fTop + 10, fBottom - 50);
    TGraphNode* label = fGraph.InsertNode(TRect(x, y, x + 100, y + 40), &TZyTextBoxNode::ClassInfo);
    if (!label) return;
    label->SetText(kRoomTexts[Random(0, int(std::size(kRoomTexts)) - 1)]);
    ++fSummary.Labels;
  }

  TPlanGenerator& fOwner;
  TGraphEditor& fGraph;
  TPlanSummary& fSummary;
  int& fBudget;
  int32_t fLeft, fTop, fRight, fBottom;
};

TPlanGenerator::TPlanGenerator(uint32_t Seed) : fRandom(Seed) {
  for (size_t i = 0; i < std::size(kPatternSizes); ++i) {
    fPatterns.push_back(MakePattern(kPatternSizes[i], int(i)));
    TBitmap b;
    b.SetImage(fPatterns.back());
    TMemoryStream out;
    b.SaveToStream(out);
    fPatternFiles.emplace_back(reinterpret_cast<const char*>(out.Memory()), qsizetype(out.Size()));
  }
}

TPlanSummary TPlanGenerator::Build(TGraphEditor& Graph, int Count) {
  constexpr int kObjectsPerFlat = ObjectsPerFlat;
  TPlanSummary summary;
  if (Count <= 0) return summary;
  int flats = (Count + kObjectsPerFlat - 1) / kObjectsPerFlat;
  // Nearly as many rows as columns of flats: a square block.
  int columns = std::max(1, int(std::ceil(std::sqrt(double(flats) * FlatHeight / FlatWidth))));
  int rows = (flats + columns - 1) / columns;
  summary.Area = TRect(0, 0, columns * FlatWidth, rows * FlatHeight);
  TWallPen pen;
  int budget = Count;
  WithinUpdate(Graph, [&] {
    for (int flat = 0; budget > 0; ++flat) {
      TPoint origin{(flat % columns) * FlatWidth, (flat / columns) * FlatHeight};
      TFlatBuilder(*this, Graph, summary, budget, origin).Build();
    }
  });
  return summary;
}

namespace {
bool IsHookedDoor(const TGraphObject* Object) {
  return Object->IsNode() && Object->LinkInputCount() > 0 && Object->LinkOutputCount() > 0;
}

bool Contains(const TRect& Outer, const TRect& Inner) {
  return Outer.Left <= Inner.Left && Inner.Right <= Outer.Right && Outer.Top <= Inner.Top &&
         Inner.Bottom <= Outer.Bottom;
}

int64_t SquaredDistance(const TPoint& A, const TPoint& B) {
  int64_t dx = A.X - B.X, dy = A.Y - B.Y;
  return dx * dx + dy * dy;
}
}  // namespace

TGraphNode* TPlanGenerator::DoorNear(TGraphEditor& Graph, const TPoint& Pt) {
  std::vector<TGraphNode*> doors = DoorsNear(Graph, Pt, 1);
  return doors.empty() ? nullptr : doors.front();
}

std::vector<TGraphNode*> TPlanGenerator::DoorsNear(TGraphEditor& Graph, const TPoint& Pt, int Count) {
  return NearestDoors(Graph, Pt, Count, nullptr);
}

std::vector<TGraphNode*> TPlanGenerator::DoorsIn(TGraphEditor& Graph, const TRect& Area, int Count) {
  return NearestDoors(Graph, {Div(Area.Left + Area.Right, 2), Div(Area.Top + Area.Bottom, 2)}, Count, &Area);
}

std::vector<TGraphNode*> TPlanGenerator::NearestDoors(TGraphEditor& Graph, const TPoint& Pt, int Count,
                                                      const TRect* Within) {
  std::vector<std::pair<int64_t, TGraphNode*>> doors;
  for (TGraphObject* o : Graph.Objects()) {
    if (!IsHookedDoor(o)) continue;
    if (Within && !Contains(*Within, o->SelectedVisualRect())) continue;
    auto* node = static_cast<TGraphNode*>(o);
    doors.emplace_back(SquaredDistance(node->Center(), Pt), node);
  }
  // Ties keep the list order, so the choice does not depend on the sort.
  std::stable_sort(doors.begin(), doors.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TGraphNode*> nearest;
  for (size_t i = 0; i < doors.size() && int(i) < Count; ++i) nearest.push_back(doors[i].second);
  return nearest;
}
