// kvftool as people run it: a built binary fed with designer documents.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <vector>

#include "DimensionLine.h"
#include "Exceptions.h"
#include "FullDisk.h"
#include "GraphEditor.h"
#include "IdentifyPicture.h"
#include "PatternImages.h"
#include "Picture.h"
#include "PlanExport.h"
#include "PlanObjects.h"
#include "TestFiles.h"

namespace {

struct TRun {
  int Status = -1;
  QByteArray Out;
  QByteArray Err;
};

TRun Kvftool(const QStringList& Arguments,
             const QProcessEnvironment& Environment = QProcessEnvironment::systemEnvironment()) {
  QString tool = qEnvironmentVariable("KVFTOOL");
  QProcess process;
  process.setProcessEnvironment(Environment);
  process.start(tool, Arguments);
  TRun run;
  if (!process.waitForFinished(60000)) {
    ADD_FAILURE() << "kvftool did not run: " << tool.toStdString();
    return run;
  }
  run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

// An image XObject of a PDF file: its size, filter and stream bytes.
struct TPdfImage {
  int Width = 0;
  int Height = 0;
  QByteArray Filter;
  QByteArray Data;
};

int PdfNumber(const QByteArray& Dictionary, const char* Key) {
  const qsizetype at = Dictionary.indexOf(Key);
  if (at < 0) return -1;
  return Dictionary.mid(at + qsizetype(std::strlen(Key))).trimmed().split('\n').value(0).toInt();
}

std::vector<TPdfImage> PdfImages(const QByteArray& Pdf) {
  std::vector<TPdfImage> images;
  for (qsizetype at = Pdf.indexOf("/Subtype /Image"); at >= 0; at = Pdf.indexOf("/Subtype /Image", at + 1)) {
    const qsizetype begin = Pdf.lastIndexOf("<<", at);
    const qsizetype end = Pdf.indexOf(">>", at);
    const qsizetype data = Pdf.indexOf("stream\n", end) + 7;
    const qsizetype dataEnd = Pdf.indexOf("endstream", data);
    if (begin < 0 || end < 0 || data < 7 || dataEnd < 0) break;
    const QByteArray dictionary = Pdf.mid(begin, end - begin);
    TPdfImage image;
    image.Width = PdfNumber(dictionary, "/Width");
    image.Height = PdfNumber(dictionary, "/Height");
    const qsizetype filter = dictionary.indexOf("/Filter");
    if (filter >= 0) image.Filter = dictionary.mid(filter + 7).trimmed().split('\n').value(0);
    image.Data = Pdf.mid(data, dataEnd - data);
    images.push_back(image);
  }
  return images;
}

// A Flate stream's bytes, through qUncompress (which wants the size first).
QByteArray Inflated(const QByteArray& Stream, qsizetype Size) {
  QByteArray framed(4, '\0');
  for (int i = 0; i < 4; ++i) framed[i] = char((Size >> (24 - 8 * i)) & 0xFF);
  return qUncompress(framed + Stream);
}

class Kvf : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("KVFTOOL"));
    RegisterPlanClasses();
    graph = std::make_unique<TGraphEditor>();
  }
  QString Path(const char* Name) const { return dir.filePath(QString::fromLatin1(Name)); }

  // A plan as the designer makes it: a bed picture, walls, a room label, and
  // a plain link hooked to two of them.
  QString SavePlan() {
    PlainBitmap(20, 18, QColor(10, 200, 30)).SaveToFile(Path("3_0.bmp"));
    auto* picture = TZyImageNode::Create2(graph.get(), Path("3_0.bmp"));
    picture->SetBounds(40, 50, 20, 18);
    CurrentLineWidth = 8;
    CurrentLineColor = RGBColor(200, 200, 200);
    auto* wall =
        static_cast<TGraphLink*>(graph->InsertLink(TPoints{{0, 0}, {300, 0}, {300, 200}}, &TWallLine::ClassInfo));
    auto* label = TZyTextBoxNode::Create2(graph.get(), QStringLiteral("厅"));
    label->SetBounds(100, 100, 100, 40);
    label->SetAlignment(taLeftJustify);
    graph->InsertLink(picture, label, &TGraphLink::ClassInfo);
    // A thin black wall: its pen is all defaults, so the stream leaves it out.
    CurrentLineWidth = 1;
    CurrentLineColor = clBlack;
    graph->InsertLink(TPoints{{0, 240}, {300, 240}}, &TWallLine::ClassInfo);
    CurrentLineWidth = 4;
    EXPECT_TRUE(wall);
    QString path = Path("plan.kvf");
    graph->SaveToFile(path);
    return path;
  }

  QTemporaryDir dir;
  std::unique_ptr<TGraphEditor> graph;
};

TEST_F(Kvf, DumpDescribesEveryObjectByName) {
  TRun run = Kvftool({QStringLiteral("dump"), SavePlan()});
  ASSERT_EQ(run.Status, 0) << run.Err.constData();
  QJsonParseError error;
  QJsonDocument doc = QJsonDocument::fromJson(run.Out, &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << run.Out.constData();
  QJsonArray objects = doc.object()["objects"].toArray();
  ASSERT_EQ(objects.size(), 5);

  QJsonObject picture = objects[0].toObject();
  EXPECT_EQ(picture["class"].toString(), QStringLiteral("TZyImageNode"));
  EXPECT_EQ(picture["id"].toInt(), 1);
  EXPECT_EQ(picture["left"].toInt(), 40);
  EXPECT_EQ(picture["height"].toInt(), 18);
  EXPECT_EQ(picture["background"].toObject(), (QJsonObject{{"class", "TBitmap"}, {"width", 20}, {"height", 18}}));
  EXPECT_EQ(picture["nodeOptions"].toArray(), (QJsonArray{"gnoMovable", "gnoResizable", "gnoShowBackground"}));
  EXPECT_EQ(picture["backgroundMargins"].toArray(), (QJsonArray{0, 0, 0, 0}));
  EXPECT_EQ(picture["pen"].toObject(),
            (QJsonObject{{"color", 0}, {"width", 1}, {"style", "psSolid"}, {"mode", "pmCopy"}}));
  EXPECT_EQ(picture["brush"].toObject(), (QJsonObject{{"color", 0xFFFFFF}, {"style", "bsSolid"}}));
  EXPECT_TRUE(picture["parentFont"].toBool());
  EXPECT_TRUE(picture["visible"].toBool());

  QJsonObject wall = objects[1].toObject();
  EXPECT_EQ(wall["class"].toString(), QStringLiteral("TWallLine"));
  EXPECT_EQ(wall["points"].toArray(), (QJsonArray{QJsonArray{0, 0}, QJsonArray{300, 0}, QJsonArray{300, 200}}));
  EXPECT_EQ(wall["pen"].toObject()["width"].toInt(), 8);
  EXPECT_EQ(wall["pen"].toObject()["color"].toInt(), 0xC8C8C8);
  EXPECT_EQ(wall["endStyle"].toString(), QStringLiteral("lsNone"));
  EXPECT_EQ(wall["options"].toArray(), (QJsonArray{"goSelectable"}));
  EXPECT_TRUE(wall["source"].isNull());
  EXPECT_EQ(wall["textPosition"].toInt(), -1);

  QJsonObject label = objects[2].toObject();
  EXPECT_EQ(label["text"].toString(), QStringLiteral("厅"));
  EXPECT_EQ(label["alignment"].toString(), QStringLiteral("taLeftJustify"));
  EXPECT_EQ(label["layout"].toString(), QStringLiteral("tlCenter"));
  EXPECT_TRUE(label["background"].isNull());

  QJsonObject link = objects[3].toObject();
  EXPECT_EQ(link["source"].toInt(), 1);
  EXPECT_EQ(link["target"].toInt(), label["id"].toInt());
  EXPECT_EQ(link["beginStyle"].toString(), QStringLiteral("lsNone"));
  EXPECT_EQ(link["endStyle"].toString(), QStringLiteral("lsArrow"));
  EXPECT_EQ(link["endSize"].toInt(), 6);
  EXPECT_EQ(link["linkOptions"].toArray(), QJsonArray());

  // Read back with its own pen, not the one a new wall would take.
  EXPECT_EQ(objects[4].toObject()["pen"].toObject()["width"].toInt(), 1);
  EXPECT_EQ(objects[4].toObject()["pen"].toObject()["color"].toInt(), 0);
}

TEST_F(Kvf, ResaveGivesBackTheSameBytes) {
  QString in = SavePlan();
  QString out = Path("again.kvf");
  TRun run = Kvftool({QStringLiteral("resave"), in, out});
  ASSERT_EQ(run.Status, 0) << run.Err.constData();
  EXPECT_TRUE(run.Out.isEmpty());
  EXPECT_EQ(FileBytes(out), FileBytes(in));
  EXPECT_GT(FileBytes(in).size(), 300);
}

TEST_F(Kvf, DimensionLineIsDumpedWithItsCaptionResavedAndExported) {
  graph->InsertLink(TPoints{{0, 0}, {300, 0}}, &TWallLine::ClassInfo);
  ASSERT_NE(graph->InsertLink(TPoints{{0, 30}, {180, 30}}, &TDimensionLine::ClassInfo), nullptr);
  const QString in = Path("measured.kvf");
  graph->SaveToFile(in);

  TRun run = Kvftool({QStringLiteral("dump"), in});
  ASSERT_EQ(run.Status, 0) << run.Err.constData();
  QJsonArray objects = QJsonDocument::fromJson(run.Out).object()["objects"].toArray();
  ASSERT_EQ(objects.size(), 2);
  QJsonObject line = objects[1].toObject();
  EXPECT_EQ(line["class"].toString(), QStringLiteral("TDimensionLine"));
  EXPECT_EQ(line["text"].toString(), QStringLiteral("3.60 m"));
  EXPECT_EQ(line["beginStyle"].toString(), QStringLiteral("lsArrow"));
  EXPECT_EQ(line["endStyle"].toString(), QStringLiteral("lsArrow"));

  run = Kvftool({QStringLiteral("resave"), in, Path("again.kvf")});
  ASSERT_EQ(run.Status, 0) << run.Err.constData();
  EXPECT_EQ(FileBytes(Path("again.kvf")), FileBytes(in));
  run = Kvftool({QStringLiteral("export"), in, Path("measured.png")});
  ASSERT_EQ(run.Status, 0) << run.Err.constData();
  EXPECT_FALSE(QImage(Path("measured.png")).isNull());
}

TEST_F(Kvf, FailuresReportTheirMessageAndUsageErrorsExitWithTwo) {
  QString missing = Path("missing.kvf");
  TRun run = Kvftool({QStringLiteral("dump"), missing});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Out.isEmpty());
  EXPECT_TRUE(run.Err.contains("missing.kvf")) << run.Err.constData();

  QByteArray unknown("0.GS\x01\x00\x00\x00\x08\x00\x00\x00\x07TNoSuch", 20);
  WriteFile(Path("unknown.kvf"), unknown);
  run = Kvftool({QStringLiteral("dump"), Path("unknown.kvf")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("Class TNoSuch not found")) << run.Err.constData();

  WriteFile(Path("bare.kvf"), QByteArray("TPF0\x00\x00\x00\x00", 8));
  run = Kvftool({QStringLiteral("resave"), Path("bare.kvf"), Path("out.kvf")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("Invalid stream content")) << run.Err.constData();
  EXPECT_FALSE(QFile::exists(Path("out.kvf")));

  for (const QStringList& wrong : {QStringList{}, QStringList{"dump"}, QStringList{"dump", "a", "b"},
                                   QStringList{"resave", "a"}, QStringList{"shrink", "a"}}) {
    run = Kvftool(wrong);
    EXPECT_EQ(run.Status, 2) << wrong.join(' ').toStdString();
    EXPECT_TRUE(run.Err.contains("usage")) << run.Err.constData();
  }
}

TEST_F(Kvf, HelpPrintsTheUsageOnStandardOutput) {
  for (const char* option : {"--help", "-h"}) {
    TRun run = Kvftool({QString::fromLatin1(option)});
    EXPECT_EQ(run.Status, 0) << option;
    EXPECT_TRUE(run.Err.isEmpty()) << option << ": " << run.Err.constData();
    for (const char* line : {"usage:", "kvftool dump FILE", "kvftool resave IN OUT", "kvftool export IN OUT",
                             "kvftool thumbnail -s SIZE IN OUT"})
      EXPECT_TRUE(run.Out.contains(line)) << option << ": " << run.Out.constData();
  }
  // After a command it is only a file name.
  TRun run = Kvftool({QStringLiteral("dump"), QStringLiteral("--help")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Out.isEmpty());
  EXPECT_TRUE(run.Err.contains("--help")) << run.Err.constData();
}

TEST_F(Kvf, RunsWithoutARuntimeDirectoryWriteNothingOnStandardError) {
  const QString in = SavePlan();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  const QStringList runs[] = {{QStringLiteral("dump"), in},
                              {QStringLiteral("resave"), in, Path("again.kvf")},
                              {QStringLiteral("export"), in, Path("plan.png")},
                              {QStringLiteral("export"), in, Path("plan.pdf")}};
  for (const QStringList& arguments : runs) {
    TRun run = Kvftool(arguments, environment);
    EXPECT_EQ(run.Status, 0) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.Err.isEmpty()) << arguments.join(' ').toStdString() << ": " << run.Err.constData();
  }
  EXPECT_TRUE(QFile::exists(Path("plan.pdf")));
}

TEST_F(Kvf, ExportWritesTheDesignersPictureInTheFormOfTheExtension) {
  const QString in = SavePlan();
  TGraphEditor plan;
  plan.LoadFromFile(in);
  const QImage expected = plan.GetAsBitmap(plan.Objects())->ToImage();
  const QSize size = expected.size();
  auto exportTo = [&](const char* Name) {
    TRun run = Kvftool({QStringLiteral("export"), in, Path(Name)});
    EXPECT_EQ(run.Status, 0) << Name << ": " << run.Err.constData();
    return Path(Name);
  };

  TBitmap bitmap;
  bitmap.LoadFromFile(exportTo("plan.bmp"));
  EXPECT_EQ(bitmap.ToImage(), expected);
  EXPECT_EQ(QImage(exportTo("plan.png")).convertToFormat(expected.format()), expected);

  // The Export command's JPEG, byte for byte, whatever the extension's case.
  const QString jpeg = exportTo("plan.JPEG");
  EXPECT_EQ(Identify(jpeg), QStringLiteral("JPEG %1 %2 90 None sRGB srgb").arg(size.width()).arg(size.height()));
  SaveAsJpeg(plan, Path("designer.jpg"));
  EXPECT_EQ(FileBytes(exportTo("plan.jpg")), FileBytes(Path("designer.jpg")));

  QSvgRenderer svg(exportTo("plan.svg"));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), size));

  // The Print command's page on A4, as one job named after the designer.
  const QByteArray pdf = FileBytes(exportTo("plan.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595.000000 842.000000]"));
  const QString title = QStringLiteral("户型图设计器");
  QByteArray utf16("\xFE\xFF");
  for (QChar c : title) utf16.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
  EXPECT_TRUE(pdf.contains("/Title (" + utf16 + ")"));
}

// Palette pictures are line art: on the printed page they must stay pure
// black on white, so they are stored losslessly, never as JPEG.
TEST_F(Kvf, PdfExportStoresPicturesLosslessly) {
  QImage art = PlainImage(40, 30, Qt::white, QImage::Format_RGB888);
  for (int x = 0; x < 40; ++x) art.setPixelColor(x, 0, Qt::black);
  for (int y = 0; y < 30; ++y) art.setPixelColor(y * 39 / 29, y, Qt::black);
  TBitmap bitmap;
  bitmap.SetImage(art);
  bitmap.SaveToFile(Path("1_0.bmp"));
  TZyImageNode::Create2(graph.get(), Path("1_0.bmp"))->SetBounds(10, 10, 40, 30);
  graph->SaveToFile(Path("door.kvf"));

  TRun run = Kvftool({QStringLiteral("export"), Path("door.kvf"), Path("door.pdf")});
  ASSERT_EQ(run.Status, 0) << run.Err.constData();
  const QByteArray pdf = FileBytes(Path("door.pdf"));
  EXPECT_FALSE(pdf.contains("/DCTDecode"));
  const std::vector<TPdfImage> images = PdfImages(pdf);
  ASSERT_EQ(images.size(), 1u);
  const TPdfImage& image = images[0];
  ASSERT_EQ(QSize(image.Width, image.Height), art.size());
  ASSERT_EQ(image.Filter, QByteArray("/FlateDecode"));
  // The picture's own pixels, row by row in RGB.
  const QByteArray rgb = Inflated(image.Data, 3 * 40 * 30);
  ASSERT_EQ(rgb.size(), 3 * 40 * 30);
  for (int y = 0; y < 30; ++y)
    EXPECT_EQ(rgb.mid(3 * 40 * y, 3 * 40), QByteArray(reinterpret_cast<const char*>(art.constScanLine(y)), 3 * 40))
        << "row " << y;
}

TEST_F(Kvf, ExportRefusesUnknownTypesEmptyPlansAndUnwritableFiles) {
  const QString in = SavePlan();
  TRun run = Kvftool({QStringLiteral("export"), in, Path("plan.gif")});
  EXPECT_EQ(run.Status, 2);
  EXPECT_TRUE(run.Err.contains(".jpg")) << run.Err.constData();
  EXPECT_FALSE(QFile::exists(Path("plan.gif")));

  TGraphEditor empty;
  empty.SaveToFile(Path("empty.kvf"));
  run = Kvftool({QStringLiteral("export"), Path("empty.kvf"), Path("empty.png")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("empty")) << run.Err.constData();
  EXPECT_FALSE(QFile::exists(Path("empty.png")));

  run = Kvftool({QStringLiteral("export"), in, Path("no such folder/plan.jpg")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("Cannot create file")) << run.Err.constData();
  run = Kvftool({QStringLiteral("export"), in, Path("no such folder/plan.pdf")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_FALSE(run.Err.isEmpty());
}

TEST_F(Kvf, EveryWriteOntoAFullDiskFailsAndKeepsThePreviousFile) {
  const QString in = SavePlan();
  const QStringList commands[] = {
      {QStringLiteral("resave"), in, QStringLiteral("plan.kvf")},
      {QStringLiteral("export"), in, QStringLiteral("plan.bmp")},
      {QStringLiteral("export"), in, QStringLiteral("plan.jpg")},
      {QStringLiteral("export"), in, QStringLiteral("plan.png")},
      {QStringLiteral("export"), in, QStringLiteral("plan.svg")},
      {QStringLiteral("export"), in, QStringLiteral("plan.pdf")},
      {QStringLiteral("thumbnail"), QStringLiteral("-s"), QStringLiteral("128"), in, QStringLiteral("plan.png")},
  };
  for (QStringList command : commands) {
    SCOPED_TRACE(command.join(QLatin1Char(' ')).toStdString());
    TFullDisk disk("1m");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
    const QString out = disk.Path(command.last());
    command.last() = out;
    TRun run = Kvftool(command);
    ASSERT_EQ(run.Status, 0) << run.Err.constData();
    const QByteArray before = FileBytes(out);
    ASSERT_FALSE(before.isEmpty());

    ASSERT_GT(disk.FillUp(), 0);
    run = Kvftool(command);
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.contains("No space left on device")) << run.Err.constData();
    EXPECT_EQ(FileBytes(out), before);
    EXPECT_EQ(disk.Files(), QStringList{QFileInfo(out).fileName()});
  }
}

TEST_F(Kvf, ExportsOfAPictureBeyondTheLimitAreRefusedWithItsSize) {
  // One node moved 40 000 units away: 4.7 GB of pixels.
  SavePlan();
  TGraphNode* far = graph->InsertNode({0, 0, 20, 20}, &TRectangularNode::ClassInfo);
  far->SetBoundsRect({40000, 40000, 40020, 40020});
  graph->SaveToFile(Path("far.kvf"));
  const QByteArray TooLarge =
      QStringLiteral("图片太大：40026 × 40026 像素").toUtf8();  // the walls reach past the origin
  for (const char* out : {"far.bmp", "far.png", "far.jpg"}) {
    TRun run = Kvftool({QStringLiteral("export"), Path("far.kvf"), Path(out)});
    EXPECT_EQ(run.Status, 1) << out;
    EXPECT_TRUE(run.Err.contains(TooLarge)) << run.Err.constData();
    EXPECT_FALSE(QFile::exists(Path(out)));
  }
  TRun run = Kvftool({QStringLiteral("thumbnail"), QStringLiteral("-s"), QStringLiteral("256"), Path("far.kvf"),
                      Path("far-thumb.png")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains(TooLarge)) << run.Err.constData();
  // The printed page and the metafile scale the plan and are still made.
  EXPECT_EQ(Kvftool({QStringLiteral("export"), Path("far.kvf"), Path("far.pdf")}).Status, 0);
}

TEST_F(Kvf, VersionIsTheProjectsOnStandardOutput) {
  TRun run = Kvftool({QStringLiteral("--version")});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, QByteArray("kvftool " HUXING_VERSION "\n"));
  EXPECT_TRUE(run.Err.isEmpty()) << run.Err.constData();
  // Only alone: after a command it is a file name.
  run = Kvftool({QStringLiteral("dump"), QStringLiteral("--version")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Out.isEmpty());
}

// The sample plan the build draws, as the thumbnailer entry meets it.
QString SamplePlan() { return qEnvironmentVariable("HUXING_BIN_DIR") + QStringLiteral("/samples/两室一厅.kvf"); }

TEST_F(Kvf, ThumbnailFitsThePlansPictureIntoTheSquareAsPng) {
  ASSERT_TRUE(QFile::exists(SamplePlan())) << SamplePlan().toStdString();
  TGraphEditor plan;
  plan.LoadFromFile(SamplePlan());
  const QSize full = plan.GetAsBitmap(plan.Objects())->ToImage().size();
  ASSERT_NE(full.width(), full.height());  // the aspect is there to keep

  // Down from the sample's size, and up from a small plan's.
  const struct {
    QString In;
    int Size;
  } cases[] = {{SamplePlan(), 128}, {SamplePlan(), 256}, {SavePlan(), 512}};
  for (const auto& c : cases) {
    const QString out = Path("thumb.png");
    QFile::remove(out);
    TRun run = Kvftool({QStringLiteral("thumbnail"), QStringLiteral("-s"), QString::number(c.Size), c.In, out});
    ASSERT_EQ(run.Status, 0) << c.Size << ": " << run.Err.constData();
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_TRUE(FileBytes(out).startsWith("\x89PNG\r\n\x1a\n"));
    const QImage thumb(out);
    ASSERT_FALSE(thumb.isNull());
    EXPECT_EQ(std::max(thumb.width(), thumb.height()), c.Size);
    TGraphEditor source;
    source.LoadFromFile(c.In);
    const QSize original = source.GetAsBitmap(source.Objects())->ToImage().size();
    EXPECT_EQ(thumb.size(), original.scaled(c.Size, c.Size, Qt::KeepAspectRatio)) << c.Size;
    EXPECT_EQ(Identify(out).section(QLatin1Char(' '), 0, 2),
              QStringLiteral("PNG %1 %2").arg(thumb.width()).arg(thumb.height()));
  }
}

TEST_F(Kvf, ThumbnailRefusesBadSizesEmptyPlansAndUnwritableFiles) {
  const QString in = SavePlan();
  const QString out = Path("thumb.png");
  for (const QStringList& wrong :
       {QStringList{"thumbnail", "-x", "128", in, out}, QStringList{"thumbnail", "-s", "0", in, out},
        QStringList{"thumbnail", "-s", "-5", in, out}, QStringList{"thumbnail", "-s", "big", in, out},
        QStringList{"thumbnail", "-s", "100000", in, out}}) {
    TRun run = Kvftool(wrong);
    EXPECT_EQ(run.Status, 2) << wrong.join(' ').toStdString();
    EXPECT_TRUE(run.Err.contains("SIZE")) << run.Err.constData();
  }
  TRun run = Kvftool({QStringLiteral("thumbnail"), QStringLiteral("128"), in, out});
  EXPECT_EQ(run.Status, 2);
  EXPECT_TRUE(run.Err.contains("usage")) << run.Err.constData();
  EXPECT_FALSE(QFile::exists(out));

  TGraphEditor empty;
  empty.SaveToFile(Path("empty.kvf"));
  run = Kvftool({QStringLiteral("thumbnail"), QStringLiteral("-s"), QStringLiteral("64"), Path("empty.kvf"), out});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("empty")) << run.Err.constData();
  EXPECT_FALSE(QFile::exists(out));

  run = Kvftool(
      {QStringLiteral("thumbnail"), QStringLiteral("-s"), QStringLiteral("64"), in, Path("no such folder/thumb.png")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("Cannot create file")) << run.Err.constData();
  run = Kvftool({QStringLiteral("thumbnail"), QStringLiteral("-s"), QStringLiteral("64"), Path("missing.kvf"), out});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("missing.kvf")) << run.Err.constData();
}

}  // namespace
