// The undo history on the control alone: steps put back exactly what they
// changed (IDs, hooks, stacking order, pictures), cost what they changed,
// and the oldest go first when the history outgrows its byte budget.
#include <gtest/gtest.h>

#include <QImage>

#include "GraphHistory.h"
#include "GraphLink.h"
#include "GraphTestSupport.h"
#include "PatternImages.h"
#include "Picture.h"

namespace {

struct HistoryTest : ::testing::Test {
  void SetUp() override {
    graph = MakeGraph();
    history = std::make_unique<TGraphHistory>(*graph);
    graph->OnObjectInsert = [this](TGraphEditor*, TGraphObject* o) { history->ObjectInserted(o); };
  }
  QByteArray Document() {
    TMemoryStream data;
    graph->StoreObjects(data, graph->Objects());
    return QByteArray(reinterpret_cast<const char*>(data.Memory()), qsizetype(data.Size()));
  }
  // A node with a 40 × 30 picture of noise, which compresses badly.
  TRectangularNode* PictureNode(const TRect& Bounds, int Seed) {
    auto* node = AddNode<TRectangularNode>(*graph, Bounds);
    TBitmap bitmap = PatternBitmap(40, 30, Seed);
    node->Background()->SetGraphic(&bitmap);
    return node;
  }
  std::vector<TGraphObject*> All() { return {graph->Objects().begin(), graph->Objects().end()}; }

  std::unique_ptr<TGraphEditor> graph;
  std::unique_ptr<TGraphHistory> history;
};

TEST_F(HistoryTest, DeletingAHookedNodeUndoesWithItsIDsHooksAndPlaces) {
  auto* a = PictureNode({20, 20, 100, 80}, 1);
  auto* b = AddNode<TRectangularNode>(*graph, {200, 20, 260, 80});
  TGraphLink* link = graph->InsertLink(a, b);
  auto* top = AddNode<TRectangularNode>(*graph, {300, 200, 340, 240});
  ASSERT_TRUE(link && top);
  const QByteArray before = Document();
  history->BeginStep(QStringLiteral("删除"), {a});
  a->Delete();
  history->EndStep();
  const QByteArray after = Document();
  ASSERT_NE(after, before);
  history->Stack().undo();
  EXPECT_EQ(Document(), before);
  TGraphLink* back = static_cast<TGraphLink*>(graph->Objects()[2]);
  EXPECT_EQ(back->Source(), graph->Objects()[0]);
  EXPECT_EQ(back->Target(), b);
  EXPECT_EQ(graph->Objects()[3], top);  // untouched objects stay as they are
  history->Stack().redo();
  EXPECT_EQ(Document(), after);
}

TEST_F(HistoryTest, MovingOneObjectStoresLittleWhateverThePlanHolds) {
  for (int i = 0; i < 400; ++i) PictureNode({(i % 20) * 50, (i / 20) * 50, (i % 20) * 50 + 40, (i / 20) * 50 + 30}, i);
  TGraphObject* moved = graph->Objects()[123];
  graph->InsertLink(moved, graph->Objects()[124]);
  const QByteArray before = Document();
  history->BeginStep(QStringLiteral("移动"), {moved});
  static_cast<TGraphNode*>(moved)->SetBounds(moved->BoundsRect().Left + 8, moved->BoundsRect().Top, 40, 30);
  history->EndStep();
  EXPECT_LT(history->Size(), 2048u + 2 * 40 * 30 * 3);  // two snapshots of one picture and its link
  history->Stack().undo();
  EXPECT_EQ(Document(), before);
}

TEST_F(HistoryTest, AStepThatChangedNothingOrWasCancelledIsNotKept) {
  auto* n = AddNode<TRectangularNode>(*graph, {20, 20, 60, 60});
  history->BeginStep(QStringLiteral("移动"), {n});
  history->EndStep();
  history->BeginStep(QStringLiteral("移动"), {n});
  n->SetBounds(28, 20, 40, 40);
  history->CancelStep();
  EXPECT_EQ(history->Stack().count(), 0);
  // Nested steps make one.
  history->BeginStep(QStringLiteral("外"), {n});
  history->BeginStep(QStringLiteral("内"), {n});
  n->SetBounds(36, 20, 40, 40);
  history->EndStep();
  EXPECT_EQ(history->Stack().count(), 0);
  history->EndStep();
  ASSERT_EQ(history->Stack().count(), 1);
  EXPECT_EQ(history->Stack().undoText(), QStringLiteral("外"));
}

TEST_F(HistoryTest, TheOldestStepsGoWhenTheBudgetIsSpentAndCleanStaysPut) {
  history = std::make_unique<TGraphHistory>(*graph, nullptr, 40000);  // about five steps
  auto* n = PictureNode({20, 20, 60, 50}, 7);
  std::vector<QByteArray> states{Document()};
  for (int i = 1; i <= 12; ++i) {
    history->BeginStep(QStringLiteral("移动 %1").arg(i), {n});
    n->SetBounds(20 + 8 * i, 20, 40, 30);
    history->EndStep();
    if (i == 10) {
      history->SetClean();
      graph->SetModified(false);
    }
    states.push_back(Document());
  }
  const int kept = history->Stack().count();
  EXPECT_LT(kept, 12);
  EXPECT_GE(kept, 3);
  EXPECT_LE(history->Size(), 40000u);
  EXPECT_EQ(history->Stack().undoText(), QStringLiteral("移动 12"));
  EXPECT_TRUE(graph->Modified());
  history->Stack().undo();
  history->Stack().undo();
  EXPECT_EQ(Document(), states[10]);
  EXPECT_FALSE(graph->Modified());  // the saved state survived the rebuild
  while (history->Stack().canUndo()) history->Stack().undo();
  EXPECT_EQ(Document(), states[size_t(12 - kept)]);
  while (history->Stack().canRedo()) history->Stack().redo();
  EXPECT_EQ(Document(), states[12]);
}

TEST_F(HistoryTest, StepsAreCountedToTheirLimit) {
  auto* n = AddNode<TRectangularNode>(*graph, {20, 20, 60, 60});
  for (int i = 0; i < TGraphHistory::MaxSteps + 5; ++i) {
    history->BeginStep(QStringLiteral("移动"), {n});
    n->SetBounds(20 + (i % 2) * 8, 20, 40, 40);
    history->EndStep();
  }
  EXPECT_EQ(history->Stack().count(), TGraphHistory::MaxSteps);
}

}  // namespace
