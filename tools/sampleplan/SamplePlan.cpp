#include "SamplePlan.h"

#include "GraphEditor.h"
#include "IntMath.h"
#include "PlanObjects.h"
#include "UpdateBracket.h"

namespace {

// Palette pictures by category and item.
enum TPicture {
  Door = 200,
  SlidingDoorSmall = 201,
  WindowSmall = 203,
  WindowLarge = 204,
  SingleBed = 300,
  DoubleBedWithTables = 302,
  ThreeSeatSofa = 304,
  SquareTable = 306,
  TvCabinet = 308,
  Wardrobe = 309,
  Desk = 310,
  DiningTable = 311,
  Toilet = 400,
  Bathtub = 401,
  Stove = 402,
  Washer = 403,
  Plant = 404,
  BasinShort = 405,
};

class TPlanBuilder {
 public:
  TPlanBuilder(TGraphEditor& Graph, const QString& MetaDir) : fGraph(Graph), fMetaDir(MetaDir) {}

  // A wall through Points, drawn with the pen a user would have chosen.
  void Wall(int Width, const TPoints& Points) {
    CurrentLineWidth = Width;
    fGraph.InsertLink(Points, &TWallLine::ClassInfo);
  }

  // A picture with its top-left corner at (Left, Top) after QuarterTurns
  // clockwise turns about its own centre.
  void Picture(TPicture Which, int Left, int Top, int QuarterTurns = 0) {
    const int category = Which / 100, item = Which % 100;
    const QString path = fMetaDir + QString::asprintf("/%d_%d.bmp", category, item);
    TZyImageNode* node = TZyImageNode::Create2(&fGraph, path);
    for (int i = 0; i < QuarterTurns; ++i) RotateNodeClockwise(node);
    node->SetBounds(Left, Top, node->Width(), node->Height());
  }

  // A room label centred on (X, Y).
  void Label(const QString& Text, int X, int Y) {
    TZyTextBoxNode* label = TZyTextBoxNode::Create2(&fGraph, Text);
    label->SetBounds(X - Div(label->Width(), 2), Y - Div(label->Height(), 2), label->Width(), label->Height());
  }

 private:
  TGraphEditor& fGraph;
  QString fMetaDir;
};

// A wall of the default pen width (1) would be read back with the width
// current at reading time, so the lightest wall here is 2.
constexpr int Outer = 8, Inner = 4, Partition = 2;

void BuildWalls(TPlanBuilder& b) {
  // The shell, open where the entrance door stands on the east side.
  b.Wall(Outer, {{400, 148}, {400, 20}, {20, 20}, {20, 340}, {400, 340}, {400, 193}});
  // Bedrooms against the living area, with the two bedroom doors.
  b.Wall(Inner, {{20, 180}, {130, 180}});
  b.Wall(Inner, {{175, 180}, {185, 180}});
  b.Wall(Inner, {{230, 180}, {300, 180}});
  b.Wall(Inner, {{180, 20}, {180, 180}});
  b.Wall(Inner, {{300, 20}, {300, 180}});
  // Bathroom and kitchen off the hall.
  b.Wall(Inner, {{300, 130}, {310, 130}});
  b.Wall(Inner, {{355, 130}, {400, 130}});
  b.Wall(Inner, {{300, 340}, {300, 210}, {315, 210}});
  b.Wall(Inner, {{390, 210}, {400, 210}});
  // A light partition between dining corner and hall.
  b.Wall(Partition, {{300, 180}, {300, 210}});
}

void BuildOpenings(TPlanBuilder& b) {
  b.Picture(Door, 130, 135);              // master bedroom, swings in
  b.Picture(Door, 185, 135);              // second bedroom
  b.Picture(Door, 310, 85);               // bathroom
  b.Picture(Door, 355, 148, 3);           // entrance, swings into the hall
  b.Picture(SlidingDoorSmall, 315, 202);  // kitchen
  b.Picture(WindowLarge, 45, 12);
  b.Picture(WindowSmall, 210, 12);
  b.Picture(WindowSmall, 320, 12);
  b.Picture(WindowLarge, 60, 332);
  b.Picture(WindowSmall, 220, 332);
  b.Picture(WindowSmall, 392, 245, 1);  // kitchen, east wall
}

void BuildFurniture(TPlanBuilder& b) {
  b.Picture(DoubleBedWithTables, 40, 24);
  b.Picture(Wardrobe, 26, 146);
  b.Picture(Desk, 186, 24);
  b.Picture(SingleBed, 246, 24);
  b.Picture(ThreeSeatSofa, 24, 206, 3);
  b.Picture(SquareTable, 90, 238);
  b.Picture(TvCabinet, 170, 215, 1);
  b.Picture(Plant, 26, 306);
  b.Picture(DiningTable, 210, 240);
  b.Picture(Bathtub, 307, 24);
  b.Picture(Toilet, 374, 93);
  b.Picture(BasinShort, 362, 66);
  b.Picture(Stove, 358, 314);
  b.Picture(Washer, 306, 304);
}

void BuildLabels(TPlanBuilder& b) {
  b.Label(QStringLiteral("卧"), 100, 135);
  b.Label(QStringLiteral("房"), 258, 150);
  b.Label(QStringLiteral("卫"), 338, 76);
  b.Label(QStringLiteral("厅"), 120, 290);
  b.Label(QStringLiteral("餐"), 250, 216);
  b.Label(QStringLiteral("厨"), 350, 262);
}

}  // namespace

void BuildSamplePlan(TGraphEditor& Graph, const QString& MetaDir) {
  // The plan is drawn with black lines; the caller's current line comes back
  // afterwards, however the build ends.
  struct TLineRestore {
    int Width = CurrentLineWidth;
    TColor Color = CurrentLineColor;
    ~TLineRestore() {
      CurrentLineWidth = Width;
      CurrentLineColor = Color;
    }
  } restore;
  CurrentLineColor = clBlack;
  TPlanBuilder builder(Graph, MetaDir);
  WithinUpdate(Graph, [&] {
    BuildWalls(builder);
    BuildOpenings(builder);
    BuildFurniture(builder);
    BuildLabels(builder);
  });
}
