// The clipboard, picture export and printing: the forms put on the
// clipboard, pasting back, the bitmap and metafile renderings and the
// scaled printout.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>
#include <QSvgRenderer>
#include <set>

#include "GraphTestSupport.h"
#include "Picture.h"

namespace {

QClipboard* Clipboard() { return QApplication::clipboard(); }

TRectangularNode* FilledNode(TGraphEditor& Graph, const TRect& Bounds, TColor Color) {
  auto* node = AddNode<TRectangularNode>(Graph, Bounds);
  node->Brush()->SetColor(Color);
  node->Pen()->SetColor(Color);
  return node;
}

// The smallest rectangle holding every pixel that is not white; empty
// when the image is all white.
QRect InkBounds(const QImage& Image) {
  QRect ink;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x)
      if (Image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
  return ink;
}

// Prints Graph into Rect of a white page of the given size and
// resolution, and answers the page.
QImage PrintedPage(TGraphEditor& Graph, QSize Page, const TRect& Rect, int Dpi = 96) {
  QImage page(Page, QImage::Format_RGB32);
  page.setDotsPerMeterX(int(Dpi / 0.0254 + 0.5));
  page.setDotsPerMeterY(int(Dpi / 0.0254 + 0.5));
  page.fill(Qt::white);
  TCanvas canvas(&page, TCanvasKind::Printer);
  Graph.Print(canvas, Rect);
  canvas.End();
  return page;
}

struct GraphClipboard : ::testing::Test {
  void SetUp() override { Clipboard()->clear(); }
  std::unique_ptr<TGraphEditor> graph = MakeGraph();
};

TEST_F(GraphClipboard, CopyPutsExactlyTheChosenForms) {
  FilledNode(*graph, {10, 10, 60, 40}, clRed)->SetSelected(true);
  FilledNode(*graph, {100, 100, 150, 140}, clBlue);
  const QString native = QString::fromLatin1(GraphClipboardFormat);

  graph->CopyToClipboard(true);
  EXPECT_EQ(Clipboard()->mimeData()->formats(), QStringList{native});

  graph->SetClipboardFormats(cfNative | cfBitmap);
  graph->CopyToClipboard(true);
  const QMimeData* data = Clipboard()->mimeData();
  EXPECT_EQ(data->formats().size(), 2) << qPrintable(data->formats().join(QLatin1Char(' ')));
  EXPECT_TRUE(data->hasFormat(native));
  QImage image = qvariant_cast<QImage>(data->imageData());
  EXPECT_EQ(image.size(), QSize(51, 31));  // the selected node alone
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));

  graph->SetClipboardFormats(cfNative | cfMetafile | cfBitmap);
  graph->CopyToClipboard(false);
  data = Clipboard()->mimeData();
  EXPECT_EQ(data->formats().size(), 3);
  QSvgRenderer svg(data->data(QStringLiteral("image/svg+xml")));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, 141, 131));  // both nodes
}

TEST_F(GraphClipboard, CopyingNothingKeepsTheClipboardAndPastingWithoutGraphDataDoesNothing) {
  FilledNode(*graph, {10, 10, 60, 40}, clRed);
  Clipboard()->setText(QStringLiteral("kept"));
  graph->CopyToClipboard(true);  // nothing selected
  EXPECT_EQ(Clipboard()->text(), QStringLiteral("kept"));

  graph->SetModified(false);
  EXPECT_FALSE(graph->PasteFromClipboard());
  EXPECT_EQ(graph->Objects().Count(), 1);
  EXPECT_FALSE(graph->Modified());
}

TEST_F(GraphClipboard, PasteLaysCopiesOnTheOriginalsSelectedWithNewIDsAndRepointedLinks) {
  auto* a = FilledNode(*graph, {10, 10, 60, 40}, clRed);
  auto* b = FilledNode(*graph, {200, 10, 250, 40}, clRed);
  auto* c = FilledNode(*graph, {10, 200, 60, 240}, clRed);
  TGraphLink* ab = graph->InsertLink(a, b, &TGraphLink::ClassInfo);
  TGraphLink* ca = graph->InsertLink(c, a, &TGraphLink::ClassInfo);
  for (TGraphObject* o : std::vector<TGraphObject*>{a, b, ab, ca}) o->SetSelected(true);
  graph->CopyToClipboard(true);
  std::set<uint32_t> oldIDs;
  for (TGraphObject* o : graph->Objects()) oldIDs.insert(o->ID());
  graph->SetModified(false);

  ASSERT_TRUE(graph->PasteFromClipboard());
  ASSERT_EQ(graph->Objects().Count(), 9);
  TGraphObjectList& objects = graph->Objects();
  auto* a2 = static_cast<TGraphNode*>(objects[5]);
  auto* b2 = static_cast<TGraphNode*>(objects[6]);
  auto* ab2 = static_cast<TGraphLink*>(objects[7]);
  auto* ca2 = static_cast<TGraphLink*>(objects[8]);
  EXPECT_EQ(a2->BoundsRect(), a->BoundsRect());
  EXPECT_EQ(b2->BoundsRect(), b->BoundsRect());
  EXPECT_EQ(graph->SelectedObjects().Count(), 4);
  for (int i = 0; i < objects.Count(); ++i) EXPECT_EQ(objects[i]->Selected(), i >= 5) << i;
  for (int i = 5; i < objects.Count(); ++i) EXPECT_EQ(oldIDs.count(objects[i]->ID()), 0u) << i;
  EXPECT_EQ(ab2->Source(), a2);
  EXPECT_EQ(ab2->Target(), b2);
  EXPECT_EQ(ca2->Source(), c);  // not copied: the graph's own node
  EXPECT_EQ(ca2->Target(), a2);
  EXPECT_TRUE(graph->Modified());
}

TEST_F(GraphClipboard, DamagedClipboardDataKeepsWhatWasReadAndClosesTheUpdate) {
  FilledNode(*graph, {10, 10, 60, 40}, clRed)->SetSelected(true);
  FilledNode(*graph, {100, 10, 160, 40}, clRed)->SetSelected(true);
  graph->CopyToClipboard(true);
  QByteArray bytes = Clipboard()->mimeData()->data(QString::fromLatin1(GraphClipboardFormat));
  bytes.chop(8);
  auto* damaged = new QMimeData;  // the clipboard takes it
  damaged->setData(QString::fromLatin1(GraphClipboardFormat), bytes);
  Clipboard()->setMimeData(damaged);

  EXPECT_THROW(graph->PasteFromClipboard(), Exception);
  EXPECT_EQ(graph->Objects().Count(), 3);
  EXPECT_FALSE(graph->IsUpdating());
}

TEST_F(GraphClipboard, BitmapHasTheObjectsCornerAtItsOrigin) {
  // Objects spanning (10, 20)-(109, 69): a 100 x 50 picture.
  FilledNode(*graph, {10, 20, 30, 40}, clRed);
  FilledNode(*graph, {89, 49, 109, 69}, clBlue);
  graph->SetZoom(250);
  std::unique_ptr<TBitmap> bitmap = graph->GetAsBitmap(graph->Objects());
  EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
  QImage image = bitmap->ToImage();
  ASSERT_EQ(image.size(), QSize(100, 50));
  // A node covers its bounds with the right and bottom edges.
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));      // graph (10, 20)
  EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::red));    // graph (30, 40)
  EXPECT_EQ(image.pixelColor(21, 21), QColor(Qt::white));  // between the nodes
  EXPECT_EQ(image.pixelColor(78, 28), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(79, 29), QColor(Qt::blue));  // graph (89, 49)
  EXPECT_EQ(image.pixelColor(99, 49), QColor(Qt::blue));  // graph (109, 69)
}

TEST_F(GraphClipboard, CopyToGraphicGivesTheBitmapOrTheMetafile) {
  FilledNode(*graph, {10, 20, 70, 60}, clRed)->SetText(QStringLiteral("厅"));
  FilledNode(*graph, {80, 30, 120, 90}, clBlue);
  const QImage expected = graph->GetAsBitmap(graph->Objects())->ToImage();

  TBitmap bitmap;
  graph->CopyToGraphic(bitmap);
  EXPECT_EQ(bitmap.ToImage(), expected);

  TMetafile metafile;
  graph->CopyToGraphic(metafile);
  EXPECT_EQ(metafile.Width(), 111);
  EXPECT_EQ(metafile.Height(), 71);
  EXPECT_EQ(metafile.ToImage().convertToFormat(expected.format()), expected);
}

TEST_F(GraphClipboard, PrintScalesUniformlyAndCentres) {
  FilledNode(*graph, {0, 0, 200, 100}, clBlack);
  // Rh / Gh (10) > Rw / Gw (5): full width, centred vertically.
  const QRect wide = InkBounds(PrintedPage(*graph, {1000, 1000}, {0, 0, 1000, 1000}));
  EXPECT_EQ(wide, QRect(0, 250, 1000, 500));

  // A printer's resolution does not change where the plan lands.
  EXPECT_EQ(InkBounds(PrintedPage(*graph, {1000, 1000}, {0, 0, 1000, 1000}, 1200)), wide);

  // Taller than wide: full height, centred across, inside an offset rect.
  graph->Objects()[0]->SetBoundsRect({0, 0, 100, 200});
  const QRect tall = InkBounds(PrintedPage(*graph, {1100, 1100}, {50, 50, 1050, 1050}));
  EXPECT_EQ(tall, QRect(300, 50, 500, 1000));
}

TEST_F(GraphClipboard, PrintingAnEmptyGraphDrawsNothing) {
  EXPECT_TRUE(InkBounds(PrintedPage(*graph, {300, 300}, {0, 0, 300, 300})).isEmpty());
  FilledNode(*graph, {0, 0, 50, 50}, clBlack)->SetVisible(false);
  EXPECT_TRUE(InkBounds(PrintedPage(*graph, {300, 300}, {0, 0, 300, 300})).isEmpty());
}

}  // namespace
