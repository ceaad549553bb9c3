#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "GraphTestSupport.h"
#include "ObjectIDIndex.h"

namespace {

// The index against a plain map of ID to holders, through a long run of
// random adds and removes: IDs crowd into a few probe runs (small range) or
// spread out (large range), so removals shift entries across runs and across
// the table's wrap.
void RunAgainstModel(uint32_t IDRange, unsigned Seed) {
  auto graph = MakeGraph();
  std::vector<TGraphObject*> objects;
  for (int i = 0; i < 300; ++i) objects.push_back(AddNode<TRectangularNode>(*graph, TRect(0, 0, 10, 10)));

  TObjectIDIndex index;
  std::map<uint32_t, std::multiset<TGraphObject*>> model;
  std::map<TGraphObject*, uint32_t> heldID;
  std::mt19937 random(Seed);
  for (int step = 0; step < 20000; ++step) {
    TGraphObject* object = objects[random() % objects.size()];
    auto held = heldID.find(object);
    if (held == heldID.end()) {
      uint32_t id = 1 + random() % IDRange;
      index.Add(object, id);
      model[id].insert(object);
      heldID[object] = id;
    } else {
      index.Remove(object, held->second);
      auto& holders = model[held->second];
      holders.erase(holders.find(object));
      if (holders.empty()) model.erase(held->second);
      heldID.erase(held);
    }
    // Every ID in range answers as the model does.
    if (step % 97 != 0) continue;
    for (uint32_t id = 0; id <= IDRange + 1; ++id) {
      auto it = model.find(id);
      bool shared = false;
      TGraphObject* sole = index.SoleHolder(id, shared);
      if (it == model.end()) {
        ASSERT_EQ(sole, nullptr) << "ID " << id;
        ASSERT_FALSE(shared) << "ID " << id;
        ASSERT_FALSE(index.TakenByOther(id, nullptr)) << "ID " << id;
      } else if (it->second.size() == 1) {
        ASSERT_EQ(sole, *it->second.begin()) << "ID " << id;
        ASSERT_FALSE(index.TakenByOther(id, sole)) << "ID " << id;
      } else {
        ASSERT_EQ(sole, nullptr) << "ID " << id;
        ASSERT_TRUE(shared) << "ID " << id;
        ASSERT_TRUE(index.TakenByOther(id, *it->second.begin())) << "ID " << id;
      }
    }
  }
  // Letting everything go leaves every ID free.
  for (auto [object, id] : heldID) index.Remove(object, id);
  for (uint32_t id = 0; id <= IDRange + 1; ++id) ASSERT_FALSE(index.TakenByOther(id, nullptr)) << "ID " << id;
  EXPECT_EQ(index.FirstFree(1, nullptr), 1u);
}

}  // namespace

TEST(ObjectIDIndex, CrowdedIDsMatchAPlainMap) { RunAgainstModel(150, 1); }

TEST(ObjectIDIndex, SpreadIDsMatchAPlainMap) { RunAgainstModel(100000, 2); }

TEST(ObjectIDIndex, FirstFreeSkipsHeldRunsAndFindsHoles) {
  auto graph = MakeGraph();
  std::vector<TGraphObject*> objects;
  for (int i = 0; i < 200; ++i) objects.push_back(AddNode<TRectangularNode>(*graph, TRect(0, 0, 10, 10)));
  TObjectIDIndex index;
  for (uint32_t id = 1; id <= 200; ++id) index.Add(objects[id - 1], id);
  EXPECT_EQ(index.FirstFree(1, nullptr), 201u);
  EXPECT_EQ(index.FirstFree(5, objects[4]), 5u);  // an object's own ID is free to it
  index.Remove(objects[99], 100);
  EXPECT_EQ(index.FirstFree(1, nullptr), 100u);
  index.Add(objects[99], 7);  // a second holder of 7
  EXPECT_TRUE(index.TakenByOther(7, objects[6]));
  EXPECT_EQ(index.FirstFree(7, objects[6]), 100u);
}
