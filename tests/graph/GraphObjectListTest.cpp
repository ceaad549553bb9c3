#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Exceptions.h"
#include "GraphObjectList.h"

namespace {
// The list never dereferences its items, so distinct addresses serve.
TGraphObject* Obj(int i) { return reinterpret_cast<TGraphObject*>(static_cast<uintptr_t>(0x1000 + 16 * i)); }

struct Recorder {
  std::vector<std::pair<TGraphObject*, TGraphObjectListAction>> events;
  void Attach(TGraphObjectList& l) {
    l.OnChange = [this](TGraphObjectList*, TGraphObject* o, TGraphObjectListAction a) { events.push_back({o, a}); };
  }
};
}  // namespace

TEST(GraphObjectList, GrowsBySixteenThenByEight) {
  TGraphObjectList l;
  for (int i = 0; i < 16; ++i) l.Add(Obj(i));
  EXPECT_EQ(l.Capacity(), 16);
  l.Add(Obj(16));
  EXPECT_EQ(l.Capacity(), 32);
  while (l.Count() < 64) l.Add(Obj(l.Count()));
  EXPECT_EQ(l.Capacity(), 64);
  l.Add(Obj(64));
  EXPECT_EQ(l.Capacity(), 72);
}

TEST(GraphObjectList, MoveRaisesOnlyOneReorderEvent) {
  TGraphObjectList l;
  l.Add(Obj(0));
  l.Add(Obj(1));
  l.Add(Obj(2));
  Recorder r;
  r.Attach(l);
  l.Move(2, 0);
  EXPECT_EQ(l[0], Obj(2));
  EXPECT_EQ(l[1], Obj(0));
  EXPECT_EQ(l[2], Obj(1));
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].first, Obj(2));
  EXPECT_EQ(r.events[0].second, glReordered);
}

TEST(GraphObjectList, IndexErrorsCarryTheIndex) {
  TGraphObjectList l;
  l.Add(Obj(0));
  try {
    l.Items(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Index out of range (5)"));
  }
  EXPECT_THROW(l.Insert(2, Obj(1)), EListError);
  EXPECT_NO_THROW(l.Insert(1, Obj(1)));
  EXPECT_THROW(l.Move(0, 2), EListError);
  EXPECT_THROW(l.Delete(-1), EListError);
}

TEST(GraphObjectList, ForwardWalkSurvivesDeletingTheCurrentItem) {
  TGraphObjectList l;
  for (int i = 0; i < 4; ++i) l.Add(Obj(i));
  std::vector<TGraphObject*> seen;
  for (TGraphObject* o = l.First(); o; o = l.Next()) {
    seen.push_back(o);
    if (o == Obj(1)) l.Delete(1);
  }
  EXPECT_EQ(seen, (std::vector<TGraphObject*>{Obj(0), Obj(1), Obj(2), Obj(3)}));
  EXPECT_EQ(l.Count(), 3);
}

TEST(GraphObjectList, BackwardWalkIsNotDisturbedByDeletingTheCurrentItem) {
  TGraphObjectList l;
  for (int i = 0; i < 4; ++i) l.Add(Obj(i));
  std::vector<TGraphObject*> seen;
  for (TGraphObject* o = l.Last(); o; o = l.Prior()) {
    seen.push_back(o);
    l.Delete(l.IndexOf(o));
  }
  EXPECT_EQ(seen, (std::vector<TGraphObject*>{Obj(3), Obj(2), Obj(1), Obj(0)}));
}

TEST(GraphObjectList, CursorRules) {
  TGraphObjectList l;
  EXPECT_FALSE(l.Push());  // idle cursor saves nothing
  EXPECT_FALSE(l.Pop());
  EXPECT_EQ(l.First(), nullptr);
  l.Add(Obj(0));
  EXPECT_EQ(l.First(), Obj(0));
  EXPECT_EQ(l.Next(), nullptr);
  try {
    l.Next();
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("List enumeration is not initialized"));
  }
}

TEST(GraphObjectList, NestedWalkWithPushAndPop) {
  TGraphObjectList l;
  for (int i = 0; i < 3; ++i) l.Add(Obj(i));
  int inner = 0;
  std::vector<TGraphObject*> outer;
  ForEachInList(l, [&](TGraphObject* o) {
    outer.push_back(o);
    ForEachInList(l, [&](TGraphObject*) {
      ++inner;
      return true;
    });
    return true;
  });
  EXPECT_EQ(outer.size(), 3u);
  EXPECT_EQ(inner, 9);
}

TEST(GraphObjectList, DeletionAdjustsSavedCursors) {
  TGraphObjectList l;
  for (int i = 0; i < 4; ++i) l.Add(Obj(i));
  std::vector<TGraphObject*> outer;
  ForEachInList(l, [&](TGraphObject* o) {
    outer.push_back(o);
    if (o == Obj(1)) l.Remove(Obj(0));  // an item before the saved position goes
    return true;
  });
  EXPECT_EQ(outer, (std::vector<TGraphObject*>{Obj(0), Obj(1), Obj(2), Obj(3)}));
}

TEST(GraphObjectList, IndexOfFindsTheLaterDuplicateAndCapacityTrims) {
  TGraphObjectList l;
  l.Add(Obj(0));
  l.Add(Obj(1));
  l.Add(Obj(0));
  EXPECT_EQ(l.IndexOf(Obj(0)), 2);
  Recorder r;
  r.Attach(l);
  l.SetCapacity(1);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0], std::make_pair(Obj(0), glRemoved));
  EXPECT_EQ(r.events[1], std::make_pair(Obj(1), glRemoved));
  EXPECT_EQ(l.Count(), 1);
}

TEST(GraphObjectList, AssignCopiesWithAddedEvents) {
  TGraphObjectList a, b;
  a.Add(Obj(0));
  a.Add(Obj(1));
  b.Add(Obj(5));
  Recorder r;
  r.Attach(b);
  b.Assign(&a);
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b[1], Obj(1));
  ASSERT_EQ(r.events.size(), 3u);  // one removal, two additions
  EXPECT_EQ(r.events[2].second, glAdded);
}

// The list against a plain vector through random changes, with and without
// the promise of unique items, walks that remove or move each item in turn
// included: the storage's free front and the lookup hint must never show.
TEST(GraphObjectList, RandomChangesMatchAPlainVector) {
  for (bool unique : {false, true}) {
    std::mt19937 random(unique ? 11 : 5);
    TGraphObjectList l;
    l.SetUniqueItems(unique);
    std::vector<TGraphObject*> model;
    int next = 0, events = 0, expectedEvents = 0;
    l.OnChange = [&](TGraphObjectList*, TGraphObject*, TGraphObjectListAction) { ++events; };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int step = 0; step < 4000; ++step) {
      int n = int(model.size());
      switch (pick(n == 0 ? 2 : 8)) {
        case 0:
        case 1: {
          TGraphObject* item = Obj(next++);
          int at = pick(n + 1);
          l.Insert(at, item);
          model.insert(model.begin() + at, item);
          ++expectedEvents;
          break;
        }
        case 2:
        case 3: {
          int at = pick(n);
          l.Delete(at);
          model.erase(model.begin() + at);
          ++expectedEvents;
          break;
        }
        case 4: {
          TGraphObject* item = model[size_t(pick(n))];
          EXPECT_EQ(l.Remove(item), std::find(model.begin(), model.end(), item) - model.begin());
          model.erase(std::find(model.begin(), model.end(), item));
          ++expectedEvents;
          break;
        }
        case 5: {
          int from = pick(n), to = pick(n);
          l.Move(from, to);
          TGraphObject* item = model[size_t(from)];
          model.erase(model.begin() + from);
          model.insert(model.begin() + to, item);
          if (from != to) ++expectedEvents;
          break;
        }
        case 6: {
          // The first half to the end, in list order, as bringing a
          // selection to the front does.
          std::vector<TGraphObject*> half(model.begin(), model.begin() + n / 2);
          for (TGraphObject* item : half) {
            l.Move(l.IndexOf(item), l.Count() - 1);
            model.erase(std::find(model.begin(), model.end(), item));
            model.push_back(item);
          }
          expectedEvents += n / 2;
          break;
        }
        case 7:
          // Remove the first half in a walk, as a delete of a selection does.
          ForEachInList(l, [&](TGraphObject* item) {
            if (l.Count() <= n / 2) return false;
            l.Remove(item);
            model.erase(std::find(model.begin(), model.end(), item));
            ++expectedEvents;
            return true;
          });
          break;
      }
      ASSERT_EQ(l.Count(), int(model.size()));
      ASSERT_TRUE(std::equal(l.begin(), l.end(), model.begin(), model.end())) << "step " << step;
      for (int i = 0; i < l.Count(); i += 7) ASSERT_EQ(l[i], model[size_t(i)]);
      if (!model.empty()) {
        TGraphObject* probe = model[size_t(pick(int(model.size())))];
        ASSERT_EQ(l.IndexOf(probe), std::find(model.begin(), model.end(), probe) - model.begin());
      }
      ASSERT_EQ(l.IndexOf(Obj(next + 1)), -1);
    }
    EXPECT_EQ(events, expectedEvents);
  }
}
