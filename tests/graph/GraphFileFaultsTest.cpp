// Saves and picture exports that cannot be completed: onto a full disk,
// and pictures too large to make. Both fail with a message and leave the
// previous file as it was.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "FullDisk.h"
#include "GraphTestSupport.h"
#include "Picture.h"
#include "TestFiles.h"

namespace {

// Far smaller than the 16 KiB a file device buffers before writing: its
// bytes reach the disk only when the file is committed.
std::unique_ptr<TGraphEditor> SmallPlan() {
  auto graph = MakeGraph();
  graph->InsertNode({0, 0, 30, 20}, &TRectangularNode::ClassInfo);
  graph->InsertNode({10, 5, 40, 30}, &TEllipticNode::ClassInfo);
  return graph;
}

struct TFileWriter {
  const char* What;
  std::function<void(TGraphEditor&, const QString&)> Write;
};

TEST(GraphFileFaults, SavesAndExportsOntoAFullDiskFailAndKeepThePreviousFile) {
  const TFileWriter writers[] = {
      {"document", [](TGraphEditor& g, const QString& f) { g.SaveToFile(f); }},
      {"bitmap", [](TGraphEditor& g, const QString& f) { g.SaveAsBitmap(f); }},
      {"metafile", [](TGraphEditor& g, const QString& f) { g.SaveAsMetafile(f); }},
  };
  for (const TFileWriter& writer : writers) {
    SCOPED_TRACE(writer.What);
    TFullDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
    auto graph = SmallPlan();
    const QString path = disk.Path(QStringLiteral("plan.out"));
    writer.Write(*graph, path);
    const QByteArray before = FileBytes(path);
    ASSERT_FALSE(before.isEmpty());
    ASSERT_LT(before.size(), 16 * 1024);
    graph->InsertNode({20, 0, 35, 10}, &TRectangularNode::ClassInfo);
    graph->SetModified(true);

    ASSERT_GT(disk.FillUp(), 0);
    try {
      writer.Write(*graph, path);
      ADD_FAILURE() << "written onto a full disk";
    } catch (const EStreamError& e) {
      EXPECT_TRUE(e.Message().contains(QStringLiteral("No space left on device"))) << e.what();
    }
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(disk.Files(), QStringList{QStringLiteral("plan.out")});  // no temporary left behind
    EXPECT_TRUE(graph->Modified());
  }
}

TEST(GraphFileFaults, APictureBeyondTheExportLimitIsRefusedBeforeItIsMade) {
  // Two nodes 40 000 units apart: 40 021 pixels square, 4.7 GB.
  auto graph = MakeGraph();
  graph->InsertNode({0, 0, 20, 20}, &TRectangularNode::ClassInfo);
  TGraphNode* far = graph->InsertNode({0, 0, 20, 20}, &TRectangularNode::ClassInfo);
  far->SetBoundsRect({40000, 40000, 40020, 40020});
  ASSERT_EQ(graph->GraphBounds().Right, 40020);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("plan.bmp"));
  try {
    graph->SaveAsBitmap(path);
    ADD_FAILURE() << "exported";
  } catch (const EOutOfResources& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("图片太大"))) << e.what();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("40021 × 40021 像素"))) << e.what();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("512 MB"))) << e.what();
  }
  EXPECT_FALSE(QFile::exists(path));
  graph->SetClipboardFormats(cfNative | cfBitmap);
  EXPECT_THROW(graph->CopyToClipboard(false), EOutOfResources);

  // Only the picture in pixels has a limit; the metafile form is drawn.
  graph->SaveAsMetafile(dir.filePath(QStringLiteral("plan.svg")));
  EXPECT_GT(FileBytes(dir.filePath(QStringLiteral("plan.svg"))).size(), 0);
}

}  // namespace
