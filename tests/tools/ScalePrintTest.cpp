// Printing to scale, measured on the PDF kvftool writes with poppler's
// tools: lengths on paper, the scale bar against its labels, the number of
// pages a large plan takes, and walls and text kept as vector output.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

#include "Canvas.h"
#include "GraphEditor.h"
#include "PlanObjects.h"
#include "PrintLayout.h"

namespace {

constexpr int kDpi = 600;
constexpr double kDotsPerMm = kDpi / 25.4;

QByteArray RunTool(const QString& Program, const QStringList& Arguments) {
  QProcess process;
  process.start(Program, Arguments);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) {
    ADD_FAILURE() << Program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput();
}

struct TWord {
  QString Text;
  double XMin, YMin, XMax, YMax;  // points
  double CentreMm() const { return (XMin + XMax) / 2 * 25.4 / 72; }
};

std::vector<TWord> Words(const QString& Pdf) {
  const QString html =
      QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), Pdf, QStringLiteral("-")}));
  static const QRegularExpression word(
      QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  std::vector<TWord> words;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble()});
  }
  return words;
}

class ScalePrint : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPlanClasses();
    graph = std::make_unique<TGraphEditor>();
  }
  QString Path(const QString& Name) const { return dir.filePath(Name); }
  QString Sample() const { return qEnvironmentVariable("HUXING_BIN_DIR") + QStringLiteral("/samples/两室一厅.kvf"); }
  void AddWall(const TPoints& Points, int Width) {
    CurrentLineWidth = Width;
    graph->InsertLink(Points, &TWallLine::ClassInfo);
    CurrentLineWidth = 4;
  }
  QString Export(const QString& Plan, const QString& Pdf, const QString& Scale) {
    graph->SaveToFile(Plan);
    RunTool(qEnvironmentVariable("KVFTOOL"), {QStringLiteral("export"), Plan, Pdf, QStringLiteral("--scale"), Scale});
    return Pdf;
  }
  QImage Raster(const QString& Pdf) {
    const QString stem = Path(QStringLiteral("page"));
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"),
                                         QStringLiteral("-singlefile"), Pdf, stem});
    // A page at 600 dpi is more than Qt reads by default.
    QImageReader::setAllocationLimit(512);
    return QImage(stem + QStringLiteral(".pgm"));
  }
  int Pages(const QString& Pdf) {
    static const QRegularExpression pages(QStringLiteral(R"(Pages:\s+(\d+))"));
    return pages.match(QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {Pdf}))).captured(1).toInt();
  }

  QTemporaryDir dir;
  std::unique_ptr<TGraphEditor> graph;
};

bool Dark(const QImage& Image, int X, int Y) { return qGray(Image.pixel(X, Y)) < 128; }

// The longest horizontal run of dark pixels on the page, less the line's
// thickness there (its round caps add half of it at each end), in mm.
double LongestHorizontalLineMm(const QImage& Page) {
  int best = 0, bestRow = 0, bestMid = 0;
  for (int y = 0; y < Page.height(); ++y)
    for (int x = 0, run = 0; x < Page.width(); ++x) {
      run = Dark(Page, x, y) ? run + 1 : 0;
      if (run > best) best = run, bestRow = y, bestMid = x - run / 2;
    }
  int thickness = 0;
  for (int y = bestRow; y < Page.height() && Dark(Page, bestMid, y); ++y) ++thickness;
  for (int y = bestRow - 1; y >= 0 && Dark(Page, bestMid, y); --y) ++thickness;
  return (best - thickness) / kDotsPerMm;
}

TEST_F(ScalePrint, AtOneToAHundredTenMetresOfWallAreTenCentimetres) {
  graph->LoadFromFile(Sample());
  // Below the flat: 500 plan pixels, 10 m.
  AddWall({{20, 420}, {520, 420}}, 4);
  const QString pdf =
      Export(Path(QStringLiteral("flat.kvf")), Path(QStringLiteral("flat.pdf")), QStringLiteral("1:100"));
  EXPECT_EQ(Pages(pdf), 1);
  const QImage page = Raster(pdf);
  ASSERT_FALSE(page.isNull());
  const double mm = LongestHorizontalLineMm(page);
  RecordProperty("wall_mm", QString::number(mm, 'f', 3).toStdString());
  EXPECT_NEAR(mm, 100.0, 0.5);
}

TEST_F(ScalePrint, TheScaleBarIsAsLongAsItsLabelSays) {
  graph->LoadFromFile(Sample());
  for (const QString& scale : {QStringLiteral("1:100"), QStringLiteral("1:20")}) {
    const QString pdf = Export(Path(QStringLiteral("flat.kvf")), Path(QStringLiteral("bar.pdf")), scale);
    const std::vector<TWord> words = Words(pdf);
    // The labels stand on one line: 0 at the bar's start, the metres at its
    // end, followed by the unit.
    auto unit = std::find_if(words.begin(), words.end(), [](const TWord& w) { return w.Text == QLatin1String("m"); });
    ASSERT_NE(unit, words.end()) << scale.toStdString();
    const TWord& last = *(unit - 1);
    auto zero = std::find_if(words.begin(), words.end(), [&](const TWord& w) {
      return w.Text == QLatin1String("0") && std::abs(w.YMin - unit->YMin) < 1;
    });
    ASSERT_NE(zero, words.end());
    const int metres = last.Text.toInt();
    ASSERT_GT(metres, 0);
    const double expectedMm = metres * MillimetresPerMetre(ParsePrintScale(scale).value());
    EXPECT_NEAR(last.CentreMm() - zero->CentreMm(), expectedMm, 0.3) << scale.toStdString();

    // The bar itself ends where its last label stands: the last section
    // is inked up to there and nothing is beyond it.
    const QImage page = Raster(pdf);
    const int barY = int((zero->YMin * 25.4 / 72 - 2.0) * kDotsPerMm);
    const int endX = int(last.CentreMm() * kDotsPerMm);
    EXPECT_TRUE(Dark(page, endX - int(0.5 * kDotsPerMm), barY)) << scale.toStdString();
    EXPECT_FALSE(Dark(page, endX + int(0.5 * kDotsPerMm), barY)) << scale.toStdString();
    EXPECT_TRUE(Dark(page, int(zero->CentreMm() * kDotsPerMm + 0.5 * kDotsPerMm), barY));
    EXPECT_FALSE(Dark(page, int(zero->CentreMm() * kDotsPerMm - 0.5 * kDotsPerMm), barY));
  }
}

TEST_F(ScalePrint, APlanLargerThanThePageIsTiledInOrder) {
  // 1000 × 1200 plan pixels are 400 × 480 mm at 1:50. An A4 page leaves
  // 190 × 262 mm for the plan: 3 columns and 2 rows.
  AddWall({{0, 0}, {1000, 0}, {1000, 1200}, {0, 1200}, {0, 0}}, 4);
  const QString pdf = Export(Path(QStringLiteral("big.kvf")), Path(QStringLiteral("big.pdf")), QStringLiteral("1:50"));
  EXPECT_EQ(Pages(pdf), 6);
  const QString text = QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
  EXPECT_TRUE(text.contains(QStringLiteral("第 1/6 页（第 1 行，第 1 列）")));
  EXPECT_TRUE(text.contains(QStringLiteral("第 6/6 页（第 2 行，第 3 列）")));
  EXPECT_TRUE(text.contains(QStringLiteral("比例 1:50")));
  EXPECT_TRUE(text.contains(QStringLiteral("big")));
  // The same plan at 1:200 (200 × 240 mm) still needs two pages; fitted, one.
  EXPECT_EQ(Pages(Export(Path(QStringLiteral("big.kvf")), Path(QStringLiteral("b200.pdf")), QStringLiteral("1:200"))),
            1);
  EXPECT_EQ(Pages(Export(Path(QStringLiteral("big.kvf")), Path(QStringLiteral("fit.pdf")), QStringLiteral("fit"))), 1);
}

TEST_F(ScalePrint, WallsAndLabelsStayVectorOnlyPicturesAreImages) {
  graph->LoadFromFile(Sample());
  int pictures = 0;
  for (TGraphObject* o : graph->Objects()) pictures += dynamic_cast<TZyImageNode*>(o) ? 1 : 0;
  const QString pdf =
      Export(Path(QStringLiteral("flat.kvf")), Path(QStringLiteral("flat.pdf")), QStringLiteral("1:50"));
  const QString text = QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
  for (const char* label : {"卧", "房", "厅", "餐", "厨", "卫"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(label))) << label;
  // pdfimages lists one line per image after its two heading lines.
  const QStringList images = QString::fromUtf8(RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}))
                                 .split('\n', Qt::SkipEmptyParts);
  EXPECT_GE(images.size() - 2, 1);
  EXPECT_LE(images.size() - 2, pictures);
}

TEST_F(ScalePrint, OnlyTheOfferedScalesAndOnlyForPdfAreUsage) {
  graph->LoadFromFile(Sample());
  const QString plan = Path(QStringLiteral("flat.kvf"));
  graph->SaveToFile(plan);
  const auto status = [&](const QString& Out, const QString& Scale) {
    QProcess tool;
    tool.start(qEnvironmentVariable("KVFTOOL"),
               {QStringLiteral("export"), plan, Out, QStringLiteral("--scale"), Scale});
    tool.waitForFinished(60000);
    return tool.exitCode();
  };
  EXPECT_EQ(status(Path(QStringLiteral("a.pdf")), QStringLiteral("1:75")), 2);
  EXPECT_EQ(status(Path(QStringLiteral("a.png")), QStringLiteral("1:50")), 2);
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("a.pdf"))));
  EXPECT_EQ(status(Path(QStringLiteral("b.pdf")), QStringLiteral("1:200")), 0);
  EXPECT_TRUE(QFile::exists(Path(QStringLiteral("b.pdf"))));
}

TEST(PrintLayoutTest, TilesCoverThePlanRowByRowWithoutOverlap) {
  // A4 at 600 dpi; a 1:100 plan of 1500 × 100 pixels (300 × 20 mm).
  const TRect bounds{-10, 5, 1489, 104};
  const TPrintLayout layout = LayOutPrint(bounds, 100, 4960, 7016, 600);
  ASSERT_EQ(layout.Columns, 2);
  ASSERT_EQ(layout.Rows, 1);
  ASSERT_EQ(layout.Tiles.size(), 2u);
  EXPECT_EQ(layout.Tiles[0].Plan.Left, -10);
  EXPECT_EQ(layout.Tiles[0].Plan.Right, layout.Tiles[1].Plan.Left);
  EXPECT_EQ(layout.Tiles[1].Plan.Right, 1490);
  EXPECT_EQ(layout.Tiles[1].Column, 1);
  // Each tile's plan fits the content area at 0.2 mm per pixel.
  EXPECT_LE(layout.Tiles[0].Plan.Width() * 0.2 * layout.DotsPerMm, layout.Content.width());
  EXPECT_GT((layout.Tiles[0].Plan.Width() + 1) * 0.2 * layout.DotsPerMm, layout.Content.width());
  EXPECT_GT(layout.Footer.top(), layout.Content.bottom());
}

}  // namespace

namespace {

TEST(PrintTileTest, APageShowsItsTileOnlyWithinTheContentArea) {
  RegisterPlanClasses();
  TGraphEditor graph;
  CurrentLineWidth = 8;
  graph.InsertLink(TPoints{{0, 0}, {2000, 0}, {2000, 2000}, {0, 2000}, {0, 0}}, &TWallLine::ClassInfo);
  graph.InsertLink(TPoints{{0, 1000}, {2000, 1000}}, &TWallLine::ClassInfo);
  CurrentLineWidth = 4;
  // A4 at 100 dpi: 827 × 1169 pixels.
  QImage page(827, 1169, QImage::Format_RGB32);
  const TPrintLayout layout = LayOutPrint(graph.GraphBounds(), 50, page.width(), page.height(), 100);
  ASSERT_GT(layout.Tiles.size(), 4u);
  int inside = 0;
  for (const TPrintTile& tile : layout.Tiles) {
    page.fill(Qt::white);
    {
      TCanvas canvas(&page, TCanvasKind::Printer);
      PrintTile(graph, canvas, layout, tile, 50);
    }
    int outside = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (qGray(page.pixel(x, y)) < 128) (layout.Content.contains(x, y) ? inside : outside)++;
    EXPECT_EQ(outside, 0) << tile.Row << "," << tile.Column;
  }
  EXPECT_GT(inside, 0);
}

TEST_F(ScalePrint, NothingOfThePlanShowsInTheMarginsOfATiledPdf) {
  // Pictures crossing a page's border were once left unclipped by the PDF
  // engine; the margins beside and below every tile stay paper white.
  graph->LoadFromFile(Sample());
  const QString pdf =
      Export(Path(QStringLiteral("flat.kvf")), Path(QStringLiteral("tiles.pdf")), QStringLiteral("1:20"));
  const int pages = Pages(pdf);
  ASSERT_GT(pages, 1);
  for (int p = 1; p <= pages; ++p) {
    const QString stem = Path(QStringLiteral("tile%1").arg(p));
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"), QStringLiteral("-singlefile"),
             QStringLiteral("-f"), QString::number(p), QStringLiteral("-l"), QString::number(p), pdf, stem});
    const QImage page(stem + QStringLiteral(".pgm"));
    ASSERT_FALSE(page.isNull());
    const double dpm = 50 / 25.4;
    // The right margin (the last 9 mm) and the band between the plan and
    // the footer hold no ink.
    int ink = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = int(page.width() - 9 * dpm); x < page.width(); ++x) ink += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_EQ(ink, 0) << "page " << p;
  }
}

}  // namespace
