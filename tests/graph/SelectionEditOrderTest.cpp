// The events a partial selection raises when it is deleted, brought to the
// front or sent to the back object by object, as the edit commands do: the
// sequences below are what the control raised before the object list kept
// its changes lazily, and must stay exactly so.
#include <gtest/gtest.h>

#include <string>

#include "GraphTestSupport.h"

namespace {

std::string Name(TGraphObject* o) { return (o->IsLink() ? "l" : "n") + std::to_string(o->ID()); }

// Five nodes and three links between them; n1..n5, l6 (n1 -> n2), l7
// (n3 -> n4), l8 (n2 -> n5), in this drawing order.
struct TSmallPlan {
  std::string Log;  // outlives the control, which logs as it closes
  std::unique_ptr<TGraphEditor> Graph = MakeGraph();

  TSmallPlan() {
    std::vector<TGraphNode*> nodes;
    for (int i = 0; i < 5; ++i) nodes.push_back(AddNode<TRectangularNode>(*Graph, {i * 40, 0, i * 40 + 20, 20}));
    Graph->InsertLink(nodes[0], nodes[1]);
    Graph->InsertLink(nodes[2], nodes[3]);
    Graph->InsertLink(nodes[1], nodes[4]);
    TGraphEditor& g = *Graph;
    g.OnObjectSelect = [this](TGraphEditor*, TGraphObject* o) {
      Note("select " + Name(o) + (o->Selected() ? "+" : "-"));
    };
    g.OnObjectRemove = [this](TGraphEditor*, TGraphObject* o) { Note("remove " + Name(o)); };
    g.OnObjectInsert = [this](TGraphEditor*, TGraphObject* o) { Note("insert " + Name(o)); };
    g.OnObjectChange = [this](TGraphEditor*, TGraphObject* o) { Note("change " + Name(o)); };
    g.OnGraphChange = [this](TGraphEditor*) { Note("graph"); };
    g.OnCanRemoveObject = [this](TGraphEditor*, TGraphObject* o, bool&) { Note("can-remove " + Name(o)); };
    g.OnObjectUnhook = [this](TGraphEditor*, TGraphObject* o, TGraphLink* l, int i) {
      Note("unhook " + Name(o) + " " + Name(l) + "." + std::to_string(i));
    };
    auto listed = std::move(g.Objects().OnChange);
    g.Objects().OnChange = [this, listed](TGraphObjectList* l, TGraphObject* o, TGraphObjectListAction a) {
      const char* what[] = {"added", "removed", "reordered"};
      Note(std::string("list ") + what[a] + " " + Name(o));
      listed(l, o, a);
    };
  }

  void Note(const std::string& Event) { Log += (Log.empty() ? "" : "; ") + Event; }

  // Selects the objects at the given drawing-order places, in that order.
  void Select(std::initializer_list<int> Places) {
    std::vector<TGraphObject*> chosen;
    for (int i : Places) chosen.push_back(Graph->Objects()[i]);
    for (TGraphObject* o : chosen) o->SetSelected(true);
    Log.clear();
  }

  std::string Order() const {
    std::string order;
    for (TGraphObject* o : Graph->Objects()) order += (order.empty() ? "" : " ") + Name(o);
    return order;
  }

  template <class F>
  void EachSelected(F Edit) {
    Graph->ForEachObject(
        [&](TGraphObject* o, void*) {
          Note("visit " + Name(o));
          return Edit(o);
        },
        nullptr, true);
  }
};

// Every other object, selected out of drawing order: l7, n1, n5, n3.
TEST(SelectionEditOrder, DeletingEveryOtherObject) {
  TSmallPlan plan;
  plan.Select({6, 0, 4, 2});
  plan.EachSelected([](TGraphObject* o) { return o->Delete(); });
  EXPECT_EQ(plan.Log,
            "visit l7; can-remove l7; list removed l7; select l7-; remove l7; unhook n3 l7.0; unhook n4 l7.1"
            "; visit n1; can-remove n1; list removed n1; select n1-; remove n1; change l6; unhook n1 l6.0"
            "; visit n5; can-remove n5; list removed n5; select n5-; remove n5; change l8; unhook n5 l8.1"
            "; visit n3; can-remove n3; list removed n3; select n3-; remove n3; graph");
  EXPECT_EQ(plan.Order(), "n2 n4 l6 l8");
}

// The middle third in drawing order: n3, n4, n5; l7 and l8 lose an end.
TEST(SelectionEditOrder, DeletingTheMiddleThird) {
  TSmallPlan plan;
  plan.Select({2, 3, 4});
  TGraphObject* last = plan.Graph->Objects()[7];
  plan.EachSelected([&](TGraphObject* o) {
    bool deleted = o->Delete();
    plan.Note("last at " + std::to_string(last->ZOrder()));
    return deleted;
  });
  EXPECT_EQ(
      plan.Log,
      "visit n3; can-remove n3; list removed n3; select n3-; remove n3; change l7; unhook n3 l7.0; last at 6"
      "; visit n4; can-remove n4; list removed n4; select n4-; remove n4; change l7; unhook n4 l7.1; last at 5"
      "; visit n5; can-remove n5; list removed n5; select n5-; remove n5; change l8; unhook n5 l8.1; last at 4; graph");
  EXPECT_EQ(plan.Order(), "n1 n2 l6 l7 l8");
}

TEST(SelectionEditOrder, BringingEveryOtherObjectToTheFront) {
  TSmallPlan plan;
  plan.Select({6, 0, 4, 2});
  TGraphObject* n4 = plan.Graph->Objects()[3];
  plan.EachSelected([&](TGraphObject* o) {
    o->BringToFront();
    plan.Note("at " + std::to_string(o->ZOrder()) + ", n4 at " + std::to_string(n4->ZOrder()));
    return true;
  });
  EXPECT_EQ(plan.Log,
            "visit l7; list reordered l7; at 7, n4 at 3"
            "; visit n1; list reordered n1; at 7, n4 at 2"
            "; visit n5; list reordered n5; at 7, n4 at 2"
            "; visit n3; list reordered n3; at 7, n4 at 1; graph");
  EXPECT_EQ(plan.Order(), "n2 n4 l6 l8 l7 n1 n5 n3");
}

TEST(SelectionEditOrder, SendingEveryOtherObjectToTheBack) {
  TSmallPlan plan;
  plan.Select({6, 0, 4, 2});
  TGraphObject* n4 = plan.Graph->Objects()[3];
  plan.EachSelected([&](TGraphObject* o) {
    o->SendToBack();
    plan.Note("at " + std::to_string(o->ZOrder()) + ", n4 at " + std::to_string(n4->ZOrder()));
    return true;
  });
  EXPECT_EQ(plan.Log,
            "visit l7; list reordered l7; at 0, n4 at 4"
            "; visit n1; list reordered n1; at 0, n4 at 4"
            "; visit n5; list reordered n5; at 0, n4 at 5"
            "; visit n3; list reordered n3; at 0, n4 at 5; graph");
  EXPECT_EQ(plan.Order(), "n3 n5 n1 l7 n2 n4 l6 l8");
}

}  // namespace
