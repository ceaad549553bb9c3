// The spatial index must answer exactly as the list scans it stands in for:
// random plans of every shape, pen, size and state are asked the same
// questions with the index on and off, after every kind of change.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <random>
#include <set>
#include <unordered_map>

#include "Canvas.h"
#include "GraphTestSupport.h"
#include "PatternImages.h"
#include "SpatialIndex.h"

namespace {

class RandomPlan {
 public:
  explicit RandomPlan(uint32_t Seed) : fRandom(Seed), fGraph(MakeGraph(400, 300)) {}

  TGraphEditor& Graph() { return *fGraph; }
  int32_t Random(int32_t Low, int32_t High) { return std::uniform_int_distribution<int32_t>(Low, High)(fRandom); }
  bool Chance(int Percent) { return Random(0, 99) < Percent; }
  TGraphObject* AnyObject() {
    TGraphObjectList& objects = fGraph->Objects();
    return objects.Count() == 0 ? nullptr : objects[Random(0, objects.Count() - 1)];
  }
  TPoint AnyPoint() { return {Random(-50, 3050), Random(-50, 3050)}; }

  void AddObjects(int Count) {
    for (int i = 0; i < Count; ++i) AddObject();
  }

  void AddObject() {
    switch (Random(0, 9)) {
      case 0: return AddNode(&TEllipticNode::ClassInfo);
      case 1: return AddNode(&TRoundRectangularNode::ClassInfo);
      case 2: return AddNode(&TTriangularNode::ClassInfo);
      case 3: return AddNode(&THexagonalNode::ClassInfo);
      case 4:
      case 5: return AddNode(&TRectangularNode::ClassInfo);
      case 6: return AddHookedLink();
      default: return AddLink();
    }
  }

  // Any kind of change the index must follow. Changes of the whole view
  // (marker size, showing hidden objects) refresh every object in the index
  // and would hide a missed change of one, so they come only when asked for.
  void Mutate(bool WholeView) {
    TGraphObject* o = AnyObject();
    if (!o) return AddObject();
    int kind = Random(0, 13);
    if (!WholeView && (kind == 10 || kind == 11)) kind = 13;
    switch (kind) {
      case 0: o->ShiftBy(Random(-300, 300), Random(-300, 300)); break;
      case 1:
        if (auto* node = dynamic_cast<TGraphNode*>(o))
          node->SetBounds(Random(0, 3000), Random(0, 3000), Random(1, 400), Random(1, 400));
        break;
      case 2: o->Delete(); break;
      case 3: o->BringToFront(); break;
      case 4: o->SendToBack(); break;
      case 5: o->SetZOrder(Random(0, fGraph->Objects().Count() - 1)); break;
      case 6: o->SetSelected(!o->Selected()); break;
      case 7: o->SetVisible(!o->Visible()); break;
      case 8: o->Pen()->SetWidth(Random(0, 24)); break;
      case 9: o->SetOptions(Chance(50) ? goAll : TGraphObjectOptions(goLinkable | goShowCaption)); break;
      case 10: fGraph->SetMarkerSize(Random(3, 9)); break;
      case 11: fGraph->SetShowHiddenObjects(!fGraph->ShowHiddenObjects()); break;
      case 12:
        if (auto* link = dynamic_cast<TGraphLink*>(o)) link->AddPoint(AnyPoint());
        break;
      default: AddObject(); break;
    }
  }

 private:
  void Style(TGraphObject* o) {
    if (!o) return;
    if (Chance(30)) o->Pen()->SetWidth(Random(0, 20));
    if (Chance(20)) o->Pen()->SetStyle(psInsideFrame);
    if (Chance(15)) o->SetVisible(false);
    if (Chance(10)) o->SetOptions(goLinkable | goShowCaption);
    if (Chance(30)) o->SetText(QStringLiteral("Room"));
    if (Chance(25)) o->SetSelected(true);
  }

  void AddNode(TGraphNodeClass Class) {
    TPoint p = AnyPoint();
    int32_t w = Chance(5) ? Random(1000, 5000) : Random(1, 120), h = Chance(5) ? Random(1000, 5000) : Random(1, 120);
    Style(fGraph->InsertNode(TRect(p.X, p.Y, p.X + w, p.Y + h), Class));
  }

  TPoints SomePoints() {
    TPoints points;
    // Now and then no point at all (an area nothing meets), or one huge
    // enough to be a candidate everywhere.
    int count = Chance(3) ? 0 : Random(1, 4);
    TPoint p = AnyPoint();
    for (int i = 0; i < count; ++i) {
      points.push_back(p);
      int32_t reach = Chance(5) ? 60000 : 300;
      p = {p.X + Random(-reach, reach), p.Y + Random(-reach, reach)};
    }
    return points;
  }

  void AddLink() { Style(fGraph->InsertLink(SomePoints())); }

  void AddHookedLink() {
    TGraphObject* source = AnyObject();
    TGraphObject* target = AnyObject();
    if (!source || !target || source == target) return AddLink();
    Style(fGraph->InsertLink(source, target));
  }

  std::mt19937 fRandom;
  std::unique_ptr<TGraphEditor> fGraph;
};

// The answer the scan gives, then the index's.
template <class F>
auto BothWays(TGraphEditor& Graph, F&& Ask) {
  Graph.SetSpatialIndexEnabled(false);
  auto scanned = Ask();
  Graph.SetSpatialIndexEnabled(true);
  auto indexed = Ask();
  return std::make_pair(scanned, indexed);
}

// Answers how many probes found an object, so callers can tell that the
// comparison met real hits.
int ExpectSameObjectsAt(RandomPlan& Plan, int Probes) {
  TGraphEditor& g = Plan.Graph();
  int hits = 0;
  for (int i = 0; i < Probes; ++i) {
    TPoint p = Plan.AnyPoint();
    // Points on the edges of an object's areas are where the rules bite.
    if (TGraphObject* o = Plan.Chance(50) ? Plan.AnyObject() : nullptr) {
      TRect r = Plan.Chance(50) ? o->VisualRect() : o->SelectedVisualRect();
      p = {Plan.Chance(50) ? r.Left : r.Right - Plan.Random(0, 1), Plan.Chance(50) ? r.Top : r.Bottom};
    }
    TGraphObject* after = Plan.Chance(20) ? Plan.AnyObject() : nullptr;
    auto [scanned, indexed] = BothWays(g, [&] { return g.FindObjectAt(p.X, p.Y, after); });
    EXPECT_EQ(scanned, indexed) << "at (" << p.X << ", " << p.Y << ")";
    if (scanned != indexed) break;
    hits += scanned != nullptr;
  }
  return hits;
}

void ExpectSameBounds(TGraphEditor& Graph) {
  // Toggling a view setting twice marks the cached bounds stale.
  Graph.SetShowHiddenObjects(!Graph.ShowHiddenObjects());
  Graph.SetShowHiddenObjects(!Graph.ShowHiddenObjects());
  EXPECT_EQ(Graph.GraphBounds(), Graph.ObjectListBounds(Graph.Objects()));
}

void ExpectExactZOrders(TGraphEditor& Graph) {
  for (TGraphObject* o : Graph.Objects()) ASSERT_EQ(o->ZOrder(), Graph.Objects().IndexOf(o));
}

struct TPainted {
  QImage Image;
  std::vector<TGraphObject*> Drawn;
  bool operator==(const TPainted& Other) const { return Image == Other.Image && Drawn == Other.Drawn; }
};

TPainted Paint(TGraphEditor& Graph, int Zoom, const TPoint& Origin, const QRect& Clip) {
  TPainted painted{PlainImage(300, 200), {}};
  Graph.OnObjectBeforeDraw = [&](TGraphEditor*, TGraphObject* o, TCanvas&) { painted.Drawn.push_back(o); };
  {
    TCanvas canvas(&painted.Image);
    canvas.SetDeviceClipRect(Clip);
    canvas.SetViewportOrg({-Origin.X, -Origin.Y});
    canvas.SetWindowExt({100, 100});
    canvas.SetViewportExt({Zoom, Zoom});
    Graph.Draw(canvas);
  }
  Graph.OnObjectBeforeDraw = nullptr;
  return painted;
}

void ExpectSamePainting(RandomPlan& Plan) {
  TGraphEditor& g = Plan.Graph();
  for (int zoom : {100, 37, 250}) {
    TPoint origin{Plan.Random(-100, 2500), Plan.Random(-100, 2500)};
    QRect clip(Plan.Random(0, 150), Plan.Random(0, 100), Plan.Random(1, 150), Plan.Random(1, 100));
    auto [scanned, indexed] = BothWays(g, [&] { return Paint(g, zoom, origin, clip); });
    EXPECT_EQ(scanned.Drawn, indexed.Drawn) << "zoom " << zoom;
    EXPECT_TRUE(scanned.Image == indexed.Image) << "zoom " << zoom;
  }
}

// The rubber band on the same selection both ways: the same selection in
// the same order, reached through the same selection events.
void ExpectSameBand(RandomPlan& Plan) {
  TGraphEditor& g = Plan.Graph();
  std::vector<TGraphObject*> before(g.SelectedObjects().begin(), g.SelectedObjects().end());
  TPoint a = Plan.AnyPoint();
  TRect band(a.X, a.Y, a.X + Plan.Random(-400, 400), a.Y + Plan.Random(-400, 400));
  bool keepOld = Plan.Chance(50);
  TGraphObjectClass only = Plan.Chance(25) ? &TGraphNode::ClassInfo : nullptr;
  auto run = [&] {
    g.ClearSelection();
    for (TGraphObject* o : before) o->SetSelected(true);
    std::vector<TGraphObject*> events;
    g.OnObjectSelect = [&](TGraphEditor*, TGraphObject* o) { events.push_back(o); };
    g.ToggleSelection(band, keepOld, only);
    g.OnObjectSelect = nullptr;
    std::vector<TGraphObject*> after(g.SelectedObjects().begin(), g.SelectedObjects().end());
    return std::make_pair(events, after);
  };
  auto [scanned, indexed] = BothWays(g, run);
  EXPECT_EQ(scanned.first, indexed.first);
  EXPECT_EQ(scanned.second, indexed.second);
}

}  // namespace

TEST(SpatialIndex, AnswersAsTheScansOnRandomPlansThroughEveryKindOfChange) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    RandomPlan plan(seed);
    plan.AddObjects(250);
    int hits = 0;
    for (int round = 0; round < 40; ++round) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", round " << round);
      hits += ExpectSameObjectsAt(plan, 60);
      ExpectExactZOrders(plan.Graph());
      ExpectSamePainting(plan);
      ExpectSameBand(plan);
      // Last: it refreshes every object.
      if (round % 5 == 4) ExpectSameBounds(plan.Graph());
      if (HasFailure()) return;
      for (int i = 0; i < 8; ++i) plan.Mutate(round % 5 == 4);
    }
    EXPECT_GT(hits, 200) << "seed " << seed;
  }
}

TEST(SpatialIndex, SkipsTheDragSourceAndPrefersSelectedHandlesAsTheScanDoes) {
  RandomPlan plan(7);
  TGraphEditor& g = plan.Graph();
  // A pile of overlapping nodes: every rule of the search is met.
  for (int i = 0; i < 30; ++i) AddNode<TRectangularNode>(g, TRect(100 + 7 * i, 100 + 5 * i, 220 + 7 * i, 200 + 5 * i));
  for (int i = 0; i < 30; i += 3) g.Objects()[i]->SetSelected(true);
  std::vector<TPoint> probes;
  for (int x = 90; x < 440; x += 3)
    for (int y = 90; y < 360; y += 3) probes.push_back({x, y});
  auto answers = [&] {
    std::vector<TGraphObject*> found;
    for (const TPoint& p : probes) found.push_back(g.FindObjectAt(p.X, p.Y));
    return found;
  };
  auto [scanned, indexed] = BothWays(g, answers);
  EXPECT_EQ(scanned, indexed);
  TGraphObject* source = g.Objects()[12];
  ASSERT_TRUE(source->BeginDrag(static_cast<TGraphNode*>(source)->Center(), htBody));
  auto [scannedInDrag, indexedInDrag] = BothWays(g, answers);
  EXPECT_EQ(scannedInDrag, indexedInDrag);
  EXPECT_EQ(std::count(indexedInDrag.begin(), indexedInDrag.end(), source), 0);
  source->EndDrag(false);
}

TEST(SpatialIndex, BoundsFollowMovesToAndFromTheEdgeOfTheGraph) {
  auto g = MakeGraph();
  TGraphNode* a = AddNode<TRectangularNode>(*g, TRect(10, 10, 50, 50));
  TGraphNode* b = AddNode<TRectangularNode>(*g, TRect(100, 100, 150, 150));
  EXPECT_EQ(g->GraphBounds(), TRect(10, 10, 150, 150));
  b->SetBounds(20, 20, 30, 30);
  EXPECT_EQ(g->GraphBounds(), TRect(10, 10, 50, 50));
  // Hiding moves nothing, so the cached bounds stay until something does.
  a->SetVisible(false);
  EXPECT_EQ(g->GraphBounds(), TRect(10, 10, 50, 50));
  b->ShiftBy(1, 1);
  EXPECT_EQ(g->GraphBounds(), TRect(21, 21, 51, 51));
  b->Delete();
  EXPECT_EQ(g->GraphBounds(), TRect());
  g->SetShowHiddenObjects(true);
  EXPECT_EQ(g->GraphBounds(), TRect(10, 10, 50, 50));
}

TEST(SpatialIndex, ConvertedObjectKeepsItsPlaceForHitsAndOrder) {
  auto g = MakeGraph();
  AddNode<TRectangularNode>(*g, TRect(0, 0, 100, 100));
  TGraphNode* middle = AddNode<TRectangularNode>(*g, TRect(20, 20, 80, 80));
  AddNode<TRectangularNode>(*g, TRect(500, 500, 600, 600));
  TGraphObject* converted = middle->ConvertTo(&TEllipticNode::ClassInfo);
  ASSERT_NE(converted, middle);
  EXPECT_EQ(converted->ZOrder(), 1);
  EXPECT_EQ(g->FindObjectAt(50, 50), converted);
}

TEST(CoordinateCounter, AnswersExtremesThroughDuplicatesAndRemovals) {
  TCoordinateCounter c;
  EXPECT_TRUE(c.Empty());
  for (int32_t v : {5, -300, 70000, 5, -300}) c.Add(v);
  EXPECT_EQ(c.Min(), -300);
  EXPECT_EQ(c.Max(), 70000);
  c.Remove(-300);
  EXPECT_EQ(c.Min(), -300);
  c.Remove(-300);
  c.Remove(70000);
  EXPECT_EQ(c.Min(), 5);
  EXPECT_EQ(c.Max(), 5);
  c.Remove(5);
  c.Remove(5);
  EXPECT_TRUE(c.Empty());
}

// Against a standard multiset through long runs of removals (emptied values
// piling up, swept now and then) and additions that bring emptied values
// back, the extremes asked only now and then.
TEST(CoordinateCounter, AnswersAsAMultisetThroughRunsOfRemovals) {
  std::mt19937 random(3);
  TCoordinateCounter c;
  std::multiset<int32_t> model;
  std::uniform_int_distribution<int32_t> value(-2000, 2000);
  for (int round = 0; round < 40; ++round) {
    for (int i = 0; i < 600; ++i) {
      int32_t v = value(random);
      c.Add(v);
      model.insert(v);
    }
    const size_t keep = model.size() / (round % 3 + 2);
    while (model.size() > keep) {
      auto it = std::next(model.begin(), std::uniform_int_distribution<size_t>(0, model.size() - 1)(random));
      c.Remove(*it);
      model.erase(it);
      if (model.size() % 97 == 0 && !model.empty()) {
        ASSERT_EQ(c.Min(), *model.begin());
        ASSERT_EQ(c.Max(), *model.rbegin());
      }
    }
    c.Remove(5000);  // never added: no effect
    ASSERT_EQ(c.Empty(), model.empty());
    if (!model.empty()) {
      ASSERT_EQ(c.Min(), *model.begin());
      ASSERT_EQ(c.Max(), *model.rbegin());
    }
  }
}

// The cell table against a standard map through random additions and
// removals over a small key space, so that runs of colliding keys form and
// removals must close the holes they leave.
TEST(CellTable, AnswersAsAMapThroughAdditionsAndRemovals) {
  std::mt19937 random(3);
  TCellTable<int> table;
  std::unordered_map<uint64_t, int> model;
  auto key = [&] {
    int32_t x = std::uniform_int_distribution<int32_t>(-20, 20)(random);
    int32_t y = std::uniform_int_distribution<int32_t>(-20, 20)(random);
    return (uint64_t(uint32_t(x)) << 32) | uint32_t(y);
  };
  for (int step = 0; step < 20000; ++step) {
    uint64_t k = key();
    if (std::uniform_int_distribution<int>(0, 2)(random) == 0) {
      table.Erase(k);
      model.erase(k);
    } else {
      table[k] = step;
      model[k] = step;
    }
    ASSERT_EQ(table.Size(), model.size());
    uint64_t probe = key();
    int* found = table.Find(probe);
    auto it = model.find(probe);
    ASSERT_EQ(found != nullptr, it != model.end()) << "step " << step;
    if (found) {
      ASSERT_EQ(*found, it->second);
    }
  }
  size_t visited = 0;
  table.ForEach([&](uint64_t k, int& v) {
    ++visited;
    EXPECT_EQ(model.at(k), v);
  });
  EXPECT_EQ(visited, model.size());
  table.Clear();
  EXPECT_EQ(table.Find(model.begin()->first), nullptr);
}
