#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

// Places kept beside the list, as an owner keeps them on its items.
class TPlaceBook : public TGraphObjectPlaces {
 public:
  int PlaceOf(const TGraphObject* Item) const override {
    auto it = fPlaces.find(Item);
    return it == fPlaces.end() ? -1 : it->second;
  }
  void SetPlace(TGraphObject* Item, int Place) override { fPlaces[Item] = Place; }

 private:
  std::map<const TGraphObject*, int> fPlaces;
};

// The list against a plain vector through random changes, with and without
// the promise of unique items and with kept places, walks that remove or
// move each item in turn, in list order or not, included: the storage's free
// front, the gaps and the lookup hint must never show. The storage is walked
// only now and then, so that gaps pile up between the walks.
TEST(GraphObjectList, RandomChangesMatchAPlainVector) {
  for (int mode : {0, 1, 2}) {
    const bool unique = mode > 0;
    std::mt19937 random(unique ? 11 + mode : 5);
    TPlaceBook places;  // outlives the list, which tells it of removals to the end
    TGraphObjectList l;
    l.SetUniqueItems(unique);
    if (mode == 2) l.SetPlaces(&places);
    std::vector<TGraphObject*> model;
    int next = 0, events = 0, expectedEvents = 0;
    l.OnChange = [&](TGraphObjectList*, TGraphObject*, TGraphObjectListAction) { ++events; };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int step = 0; step < 4000; ++step) {
      int n = int(model.size());
      switch (pick(n == 0 ? 2 : 10)) {
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
        case 8:
        case 9: {
          // Every other item in a random order, each sent to the back or
          // removed, as sending or deleting a selection made by clicks does.
          std::vector<TGraphObject*> chosen;
          for (int i = 0; i < n; i += 2) chosen.push_back(model[size_t(i)]);
          std::shuffle(chosen.begin(), chosen.end(), random);
          for (TGraphObject* item : chosen) {
            const int at = int(std::find(model.begin(), model.end(), item) - model.begin());
            ASSERT_EQ(l.IndexOf(item), at);
            model.erase(model.begin() + at);
            if (step % 2) {
              l.Move(at, 0);
              model.insert(model.begin(), item);
              if (at != 0) ++expectedEvents;
            } else {
              l.Remove(item);
              ++expectedEvents;
            }
          }
          break;
        }
      }
      ASSERT_EQ(l.Count(), int(model.size()));
      for (int i = 0; i < l.Count(); i += 7) ASSERT_EQ(l[i], model[size_t(i)]) << "step " << step;
      if (!model.empty()) {
        TGraphObject* probe = model[size_t(pick(int(model.size())))];
        ASSERT_EQ(l.IndexOf(probe), std::find(model.begin(), model.end(), probe) - model.begin());
      }
      ASSERT_EQ(l.IndexOf(Obj(next + 1)), -1);
      if (step % 5 == 0) {
        ASSERT_TRUE(std::equal(l.begin(), l.end(), model.begin(), model.end())) << "step " << step;
      }
    }
    EXPECT_EQ(events, expectedEvents);
    if (mode == 2) {
      for (int i = 0; i < l.Count(); ++i) EXPECT_GE(places.PlaceOf(l[i]), 0);
    }
  }
}

// A walk over the list while items behind and ahead of it are taken out of
// the middle and sent to either end: the cursor follows as it follows a
// removal, and every item is visited once.
TEST(GraphObjectList, WalkSurvivesMovesToEitherEnd) {
  TPlaceBook places;
  TGraphObjectList l;
  l.SetUniqueItems(true);
  l.SetPlaces(&places);
  for (int i = 0; i < 12; ++i) l.Add(Obj(i));
  std::vector<TGraphObject*> seen;
  ForEachInList(l, [&](TGraphObject* o) {
    seen.push_back(o);
    if (o == Obj(2)) l.Move(l.IndexOf(Obj(6)), 0);
    if (o == Obj(3)) l.Move(l.IndexOf(Obj(1)), l.Count() - 1);
    if (o == Obj(4)) l.Delete(l.IndexOf(Obj(8)));
    return true;
  });
  // A move adjusts the cursors as a removal from its old place does and no
  // more: Obj(6) put in front of the walk shifts it back onto Obj(2) again;
  // Obj(1), gone ahead of it, is seen a second time; Obj(8) never.
  EXPECT_EQ(seen, (std::vector<TGraphObject*>{Obj(0), Obj(1), Obj(2), Obj(2), Obj(3), Obj(4), Obj(5), Obj(7), Obj(9),
                                              Obj(10), Obj(11), Obj(1)}));
  EXPECT_EQ(l.IndexOf(Obj(6)), 0);
  EXPECT_EQ(l.IndexOf(Obj(1)), 10);
  EXPECT_EQ(l[5], Obj(5));
  EXPECT_EQ(places.PlaceOf(Obj(8)), -1);
}
