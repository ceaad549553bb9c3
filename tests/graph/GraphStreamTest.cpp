// Whole-graph streams: the document bytes, loading, merging, files, and
// what damaged documents do to a graph.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "DocumentBytes.h"
#include "Filer.h"
#include "GraphErrors.h"
#include "GraphTestSupport.h"
#include "PatternImages.h"
#include "Picture.h"
#include "TestFiles.h"

namespace {

QByteArray BytesOf(TMemoryStream& Stream) {
  return QByteArray(reinterpret_cast<const char*>(Stream.Memory()), qsizetype(Stream.Size()));
}

QByteArray Save(TGraphEditor& Graph) {
  TMemoryStream stream;
  Graph.SaveToStream(stream);
  return BytesOf(stream);
}

void Load(TGraphEditor& Graph, const QByteArray& Bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(Bytes.constData(), Bytes.size());
  stream.SetPosition(0);
  Graph.LoadFromStream(stream);
}

void Merge(TGraphEditor& Graph, const QByteArray& Bytes, int32_t OffsetX, int32_t OffsetY) {
  TMemoryStream stream;
  stream.WriteBuffer(Bytes.constData(), Bytes.size());
  stream.SetPosition(0);
  Graph.MergeFromStream(stream, OffsetX, OffsetY);
}

QByteArray NodeRecord(int8_t ID, int8_t Left, int8_t Top) {
  return Record("TRectangularNode", ID,
                Int8Prop("G.Left", Left) + Int8Prop("G.Top", Top) + Int8Prop("G.Width", 16) + Int8Prop("G.Height", 16));
}

// A 16 × 16 rectangle at (16, 24) and a link from it to (100, 32), byte by
// byte: two records, the link's source by ID and its points as a binary block.
QByteArray NodeAndLinkDocument() {
  QByteArray points;
  PutShort(points, "G.BreakPoints");
  points.append(char(vaBinary));
  PutInt32(points, 20);
  for (int32_t v : {2, 32, 32, 100, 32}) PutInt32(points, v);
  return Document(2, NodeRecord(1, 16, 24) + Record("TGraphLink", 2, Int8Prop("G.Source", 1) + points));
}

TGraphNode* AddRect(TGraphEditor& Graph, const TRect& Bounds) {
  return Graph.InsertNode(Bounds, &TRectangularNode::ClassInfo);
}

// The bytes that follow the property name Name in Bytes ("" when absent).
QByteArray ValueAfter(const QByteArray& Bytes, const QByteArray& Name, int Count) {
  QByteArray key;
  PutShort(key, Name);
  qsizetype at = Bytes.indexOf(key);
  if (at < 0) return {};
  return Bytes.mid(at + key.size(), Count);
}

bool HasProperty(const QByteArray& Bytes, const QByteArray& Name) { return !ValueAfter(Bytes, Name, 1).isEmpty(); }

// --- documents ------------------------------------------------------------------

TEST(GraphStream, ANodeAndALinkAreWrittenByteForByte) {
  auto graph = MakeGraph();
  TGraphNode* node = AddRect(*graph, {16, 24, 32, 40});
  ASSERT_TRUE(node);
  TGraphLink* link = graph->InsertLink(node, TPoints{{100, 32}}, &TGraphLink::ClassInfo);
  ASSERT_TRUE(link);
  ASSERT_EQ(link->Polyline(), TPoints({{32, 32}, {100, 32}}));
  EXPECT_EQ(node->ID(), 1u);
  EXPECT_EQ(link->ID(), 2u);
  graph->SetModified(true);

  QByteArray bytes = Save(*graph);
  EXPECT_EQ(bytes.size(), 202);
  EXPECT_EQ(bytes.toHex(' '), NodeAndLinkDocument().toHex(' '));
  EXPECT_FALSE(graph->Modified());
}

TEST(GraphStream, ANodeAndALinkLoadFromTheirBytes) {
  auto graph = MakeGraph();
  AddRect(*graph, {300, 300, 340, 340});
  graph->SetCommandMode(cmPan);
  int changes = 0;
  graph->OnGraphChange = [&](TGraphEditor*) { ++changes; };
  Load(*graph, NodeAndLinkDocument());

  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(graph->Modified());
  EXPECT_EQ(graph->CommandMode(), cmEdit);
  EXPECT_FALSE(graph->IsUpdating());
  EXPECT_FALSE(graph->QueryEventsSuspended());
  ASSERT_EQ(graph->Objects().Count(), 2);
  auto* node = dynamic_cast<TRectangularNode*>(graph->Objects()[0]);
  auto* link = dynamic_cast<TGraphLink*>(graph->Objects()[1]);
  ASSERT_TRUE(node && link);
  EXPECT_EQ(node->BoundsRect(), TRect(16, 24, 32, 40));
  EXPECT_EQ(node->ID(), 1u);
  EXPECT_EQ(link->ID(), 2u);
  EXPECT_EQ(link->Source(), node);
  EXPECT_EQ(link->SourceID(), 1u);
  EXPECT_EQ(link->Target(), nullptr);
  EXPECT_EQ(link->Polyline(), TPoints({{32, 32}, {100, 32}}));
  EXPECT_EQ(link->EndStyle(), lsArrow);
  EXPECT_EQ(node->LinkOutputCount(), 1);
  // And it writes itself back unchanged.
  EXPECT_EQ(Save(*graph), NodeAndLinkDocument());
}

TEST(GraphStream, EmptyGraphIsEightBytesAndLoadingThemClears) {
  auto graph = MakeGraph();
  QByteArray empty = Save(*graph);
  EXPECT_EQ(empty.toHex(' '), QByteArray("30 2e 47 53 00 00 00 00"));

  AddRect(*graph, {0, 0, 20, 20});
  AddRect(*graph, {40, 0, 60, 20});
  Load(*graph, empty);
  EXPECT_EQ(graph->Objects().Count(), 0);
  EXPECT_FALSE(graph->Modified());
}

TEST(GraphStream, StreamWithoutTheSignatureIsRejectedAndChangesNothing) {
  auto graph = MakeGraph();
  AddRect(*graph, {0, 0, 20, 20});
  graph->SetModified(true);
  QByteArray bare = NodeAndLinkDocument().mid(12 + 17);  // a bare property stream: "TPF0..."
  ASSERT_TRUE(bare.startsWith("TPF0"));
  for (const QByteArray& bytes : {bare, QByteArray("0.G"), QByteArray()}) {
    try {
      Load(*graph, bytes);
      ADD_FAILURE() << "accepted " << bytes.toHex(' ').constData();
    } catch (const EGraphStreamError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Invalid stream content"));
    }
    try {
      Merge(*graph, bytes, 0, 0);
      ADD_FAILURE() << "merged " << bytes.toHex(' ').constData();
    } catch (const EGraphStreamError&) {
    }
  }
  EXPECT_EQ(graph->Objects().Count(), 1);
  EXPECT_TRUE(graph->Modified());
}

// --- value encodings --------------------------------------------------------------

TEST(GraphStream, TextsTakeTheirShortestTag) {
  auto graph = MakeGraph();
  TGraphNode* hall = AddRect(*graph, {0, 0, 40, 40});
  hall->SetText(QStringLiteral("厅"));
  TGraphNode* plain = AddRect(*graph, {50, 0, 90, 40});
  plain->SetText(QString(255, QLatin1Char('a')));
  plain->SetHint(QString(256, QLatin1Char('b')));
  TGraphNode* mixed = AddRect(*graph, {100, 0, 140, 40});
  mixed->SetText(QStringLiteral("Caf\u00e9 1"));
  QByteArray bytes = Save(*graph);

  // vaWString, one UTF-16 unit, U+5385 little-endian.
  EXPECT_EQ(ValueAfter(bytes, "G.Text", 7).toHex(' '), QByteArray("12 01 00 00 00 85 53"));
  qsizetype second = bytes.indexOf("TRectangularNode", bytes.indexOf("G.Text"));
  QByteArray rest = bytes.mid(second);
  EXPECT_EQ(ValueAfter(rest, "G.Text", 2).toHex(' '), QByteArray("06 ff"));
  EXPECT_EQ(ValueAfter(rest, "G.Hint", 5).toHex(' '), QByteArray("0c 00 01 00 00"));
  rest = rest.mid(rest.indexOf("TRectangularNode", 20));
  EXPECT_EQ(ValueAfter(rest, "G.Text", 5).toHex(' '), QByteArray("14 07 00 00 00"));

  auto other = MakeGraph();
  Load(*other, bytes);
  ASSERT_EQ(other->Objects().Count(), 3);
  EXPECT_EQ(other->Objects()[0]->Text(), QStringLiteral("厅"));
  EXPECT_EQ(other->Objects()[1]->Text(), plain->Text());
  EXPECT_EQ(other->Objects()[1]->Hint(), plain->Hint());
  EXPECT_EQ(other->Objects()[2]->Text(), mixed->Text());
}

TEST(GraphStream, ColoursWithANameAreWrittenAsIdentifiers) {
  auto graph = MakeGraph();
  TGraphNode* node = AddRect(*graph, {0, 0, 40, 40});
  node->Brush()->SetColor(RGBColor(200, 200, 200));
  node->Pen()->SetColor(RGBColor(192, 192, 192));
  QByteArray bytes = Save(*graph);
  EXPECT_EQ(ValueAfter(bytes, "G.Brush.Color", 5).toHex(' '), QByteArray("04 c8 c8 c8 00"));
  EXPECT_EQ(ValueAfter(bytes, "G.Pen.Color", 10), QByteArray("\x07\x08"
                                                             "clSilver"));
  EXPECT_FALSE(HasProperty(bytes, "G.Brush.Style"));
  EXPECT_FALSE(HasProperty(bytes, "G.Pen.Width"));

  auto other = MakeGraph();
  Load(*other, bytes);
  ASSERT_EQ(other->Objects().Count(), 1);
  EXPECT_EQ(other->Objects()[0]->Brush()->Color(), RGBColor(200, 200, 200));
  EXPECT_EQ(other->Objects()[0]->Pen()->Color(), clSilver);
}

TEST(GraphStream, LinkStylesAreWrittenOnlyWhenNotDefault) {
  auto graph = MakeGraph();
  TGraphLink* plain = graph->InsertLink(TPoints{{0, 0}, {50, 0}}, &TGraphLink::ClassInfo);
  ASSERT_TRUE(plain);
  QByteArray bytes = Save(*graph);
  EXPECT_FALSE(HasProperty(bytes, "G.BeginStyle"));
  EXPECT_FALSE(HasProperty(bytes, "G.EndStyle"));

  plain->SetEndStyle(lsNone);
  plain->SetBeginStyle(lsDiamond);
  bytes = Save(*graph);
  EXPECT_EQ(ValueAfter(bytes, "G.EndStyle", 8), QByteArray("\x07\x06"
                                                           "lsNone"));
  EXPECT_EQ(ValueAfter(bytes, "G.BeginStyle", 11), QByteArray("\x07\x09"
                                                              "lsDiamond"));
  EXPECT_LT(bytes.indexOf("G.BeginStyle"), bytes.indexOf("G.EndStyle"));

  auto other = MakeGraph();
  Load(*other, bytes);
  auto* link = dynamic_cast<TGraphLink*>(other->Objects()[0]);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->EndStyle(), lsNone);
  EXPECT_EQ(link->BeginStyle(), lsDiamond);
}

TEST(GraphStream, OwnFontIsWrittenInDeclarationOrder) {
  auto graph = MakeGraph();
  TGraphNode* inherits = AddRect(*graph, {0, 0, 40, 40});
  EXPECT_FALSE(HasProperty(Save(*graph), "G.Font.Charset"));
  EXPECT_FALSE(HasProperty(Save(*graph), "G.ParentFont"));

  TFont font;
  font.Assign(inherits->Font());
  font.SetName(QStringLiteral("Noto Sans"));
  font.SetStyle(1 << fsBold | 1 << fsUnderline);
  font.SetCharset(134);
  inherits->SetFont(font);
  ASSERT_FALSE(inherits->ParentFont());
  QByteArray bytes = Save(*graph);

  qsizetype last = -1;
  for (const char* name :
       {"G.Font.Charset", "G.Font.Color", "G.Font.Height", "G.Font.Name", "G.Font.Style", "G.ParentFont"}) {
    qsizetype at = bytes.indexOf(name);
    EXPECT_GT(at, last) << name;
    last = at;
  }
  EXPECT_EQ(ValueAfter(bytes, "G.Font.Charset", 16), QByteArray("\x07\x0e"
                                                                "GB2312_CHARSET"));
  EXPECT_EQ(ValueAfter(bytes, "G.Font.Style", 21), QByteArray("\x0b\x06"
                                                              "fsBold\x0b"
                                                              "fsUnderline\x00",
                                                              21));
  EXPECT_EQ(ValueAfter(bytes, "G.ParentFont", 1), QByteArray("\x08"));
  for (const char* name : {"G.Font.Orientation", "G.Font.Pitch", "G.Font.Quality", "G.Font.Size"})
    EXPECT_FALSE(HasProperty(bytes, name)) << name;

  auto other = MakeGraph();
  Load(*other, bytes);
  TGraphObject* loaded = other->Objects()[0];
  EXPECT_FALSE(loaded->ParentFont());
  EXPECT_TRUE(*loaded->Font() == font);
}

TEST(GraphStream, CustomDataTravelsThroughTheReadAndWriteEvents) {
  auto graph = MakeGraph();
  TGraphNode* node = AddRect(*graph, {0, 0, 40, 40});
  node->SetHasCustomData(true);
  graph->OnObjectWrite = [](TGraphEditor*, TGraphObject*, TStream& s) { s.WriteBuffer("room-7", 6); };
  QByteArray bytes = Save(*graph);
  EXPECT_EQ(ValueAfter(bytes, "G.CustomData", 15), QByteArray("\x0a\x0a\x00\x00\x00\x06\x00\x00\x00room-7", 15));

  auto other = MakeGraph();
  QByteArray seen;
  other->OnObjectRead = [&](TGraphEditor*, TGraphObject* o, TStream& s) {
    EXPECT_TRUE(o->HasCustomData());
    seen.resize(qsizetype(s.Size() - s.Position()));
    s.ReadBuffer(seen.data(), seen.size());
  };
  Load(*other, bytes);
  EXPECT_EQ(seen, QByteArray("room-7"));
}

// --- pictures ---------------------------------------------------------------------

QImage AsRgb(const QImage& Image) { return Image.convertToFormat(QImage::Format_RGB888); }

TEST(GraphStream, BitmapAndJpegBackgroundsSurvivePixelForPixel) {
  auto graph = MakeGraph();
  TGraphNode* withBitmap = AddRect(*graph, {0, 0, 40, 40});
  TBitmap bitmap;
  bitmap.SetImage(ColourPattern(7, 5));
  withBitmap->Background()->SetGraphic(&bitmap);
  TGraphNode* withJpeg = AddRect(*graph, {50, 0, 90, 40});
  TJPEGImage jpeg;
  jpeg.Compress(ColourPattern(7, 5));
  withJpeg->Background()->SetGraphic(&jpeg);
  withJpeg->SetBackgroundMargins({1, 2, 3, 4});
  QByteArray bytes = Save(*graph);

  QByteArray data = ValueAfter(bytes, "G.Background.Data", 16);
  EXPECT_EQ(data.mid(5, 8), QByteArray("\x07TBitmap"));
  EXPECT_EQ(data.mid(13, 2), QByteArray("\xae\x00", 2));  // a 174-byte BMP file: 54 + 5 rows of 24
  EXPECT_EQ(ValueAfter(bytes, "G.BackgroundMargins", 8).toHex(' '), QByteArray("02 01 02 02 02 03 02 04"));

  auto other = MakeGraph();
  Load(*other, bytes);
  ASSERT_EQ(other->Objects().Count(), 2);
  auto* first = static_cast<TGraphNode*>(other->Objects()[0]);
  auto* second = static_cast<TGraphNode*>(other->Objects()[1]);
  ASSERT_TRUE(dynamic_cast<TBitmap*>(first->Background()->Graphic()));
  ASSERT_TRUE(dynamic_cast<TJPEGImage*>(second->Background()->Graphic()));
  EXPECT_EQ(AsRgb(first->Background()->Graphic()->ToImage()), AsRgb(ColourPattern(7, 5)));
  EXPECT_EQ(AsRgb(second->Background()->Graphic()->ToImage()), AsRgb(jpeg.ToImage()));
  EXPECT_EQ(static_cast<TJPEGImage*>(second->Background()->Graphic())->Data(), jpeg.Data());
  EXPECT_EQ(second->BackgroundMargins(), TRect(1, 2, 3, 4));
  EXPECT_EQ(Save(*other), bytes);
}

// Pictures are decoded from the document in place when it lies in memory and
// from a copy of each block otherwise: both readings must agree.
TEST(GraphStream, PicturesReadInPlaceAsFromAFileStream) {
  auto graph = MakeGraph();
  for (int i = 0; i < 3; ++i) {
    TGraphNode* node = AddRect(*graph, {i * 50, 0, i * 50 + 40, 40});
    TBitmap bitmap;
    QImage pattern = ColourPattern(7, 5);
    pattern.setPixelColor(0, 0, QColor(i * 80, 0, 0));
    bitmap.SetImage(pattern);
    node->Background()->SetGraphic(&bitmap);
  }
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("pictures.hxp"));
  graph->SaveToFile(name);
  const QByteArray bytes = Save(*graph);

  auto fromMemory = MakeGraph();
  Load(*fromMemory, bytes);
  auto fromFile = MakeGraph();
  TFileStream file(name, fmOpenRead);
  fromFile->LoadFromStream(file);
  ASSERT_EQ(fromFile->Objects().Count(), 3);
  for (int i = 0; i < 3; ++i) {
    auto* a = static_cast<TGraphNode*>(fromMemory->Objects()[i]);
    auto* b = static_cast<TGraphNode*>(fromFile->Objects()[i]);
    EXPECT_EQ(AsRgb(a->Background()->Graphic()->ToImage()), AsRgb(b->Background()->Graphic()->ToImage()));
    EXPECT_EQ(AsRgb(a->Background()->Graphic()->ToImage()).pixelColor(0, 0), QColor(i * 80, 0, 0));
  }
  EXPECT_EQ(Save(*fromFile), bytes);
  EXPECT_EQ(Save(*fromMemory), bytes);
}

// --- merging ----------------------------------------------------------------------

TEST(GraphStream, MergeRenumbersAndKeepsLinksToTheMergedNodes) {
  auto graph = MakeGraph();
  TGraphNode* a = AddRect(*graph, {200, 200, 240, 240});
  TGraphNode* b = AddRect(*graph, {300, 200, 340, 240});
  ASSERT_EQ(a->ID(), 1u);
  ASSERT_EQ(b->ID(), 2u);
  a->SetSelected(true);
  graph->SetModified(false);
  graph->SetCommandMode(cmPan);

  Merge(*graph, NodeAndLinkDocument(), 8, 16);
  ASSERT_EQ(graph->Objects().Count(), 4);
  auto* node = dynamic_cast<TGraphNode*>(graph->Objects()[2]);
  auto* link = dynamic_cast<TGraphLink*>(graph->Objects()[3]);
  ASSERT_TRUE(node && link);
  EXPECT_EQ(node->ID(), 3u);
  EXPECT_EQ(link->ID(), 4u);
  EXPECT_EQ(link->Source(), node);
  EXPECT_EQ(link->SourceID(), 3u);
  EXPECT_EQ(a->LinkOutputCount(), 0);
  EXPECT_EQ(node->BoundsRect(), TRect(24, 40, 40, 56));
  EXPECT_EQ(link->Polyline(), TPoints({{40, 48}, {108, 48}}));
  EXPECT_EQ(graph->SelectedObjects().Count(), 0);
  EXPECT_TRUE(graph->Modified());
  EXPECT_EQ(graph->CommandMode(), cmEdit);
  EXPECT_FALSE(graph->QueryEventsSuspended());

  // The same clipboard bytes pasted again find IDs 1..4 taken.
  Merge(*graph, NodeAndLinkDocument(), 0, 0);
  ASSERT_EQ(graph->Objects().Count(), 6);
  EXPECT_EQ(graph->Objects()[4]->ID(), 5u);
  EXPECT_EQ(static_cast<TGraphLink*>(graph->Objects()[5])->Source(), graph->Objects()[4]);
}

TEST(GraphStream, MergeOffsetsStopAtTheConstraintBounds) {
  auto graph = MakeGraph();
  graph->GraphConstraints()->SetBoundsRect({0, 0, 1000, 1000});
  Merge(*graph, NodeAndLinkDocument(), -500, 5000);
  ASSERT_EQ(graph->Objects().Count(), 2);
  auto* node = static_cast<TGraphNode*>(graph->Objects()[0]);
  auto* link = static_cast<TGraphLink*>(graph->Objects()[1]);
  // Moved left only to the left bound and down only to the bottom bound.
  EXPECT_EQ(node->Left(), 0);
  EXPECT_EQ(node->Height(), 16);
  EXPECT_GT(node->Top(), 900);
  EXPECT_LE(node->BoundsRect().Bottom, 1000);
  EXPECT_LE(link->BoundsRect().Bottom, 1000);
  EXPECT_EQ(link->PointAt(1).X - link->PointAt(0).X, 68);
  EXPECT_EQ(link->Source(), node);

  // Without room to move, nothing moves.
  Merge(*graph, NodeAndLinkDocument(), 0, 0);
  graph->GraphConstraints()->SetBoundsRect({16, 24, 101, 41});
  Merge(*graph, NodeAndLinkDocument(), -30, -30);
  EXPECT_EQ(static_cast<TGraphNode*>(graph->Objects()[4])->BoundsRect(), TRect(16, 24, 32, 40));
}

TEST(GraphStream, DuplicateIDsInADocumentAreMadeUnique) {
  // Found by fuzzing: renumbering one object also renumbered its namesakes,
  // so duplicates survived the load and every save wrote different IDs.
  QByteArray link = Record("TGraphLink", 9, Int8Prop("G.Source", 1) + Int8Prop("G.Target", 2));
  QByteArray bytes =
      Document(5, NodeRecord(1, 0, 0) + NodeRecord(2, 50, 0) + NodeRecord(1, 100, 0) + NodeRecord(2, 150, 0) + link);
  auto graph = MakeGraph();
  Load(*graph, bytes);
  ASSERT_EQ(graph->Objects().Count(), 5);
  std::vector<uint32_t> ids;
  for (TGraphObject* o : graph->Objects()) ids.push_back(o->ID());
  EXPECT_EQ(ids, (std::vector<uint32_t>{3, 4, 1, 2, 9}));
  auto* loaded = static_cast<TGraphLink*>(graph->Objects()[4]);
  EXPECT_EQ(loaded->Source(), graph->Objects()[0]);
  EXPECT_EQ(loaded->Target(), graph->Objects()[1]);
  for (uint32_t id : ids) EXPECT_NE(graph->FindObjectByID(id), nullptr);

  QByteArray saved = Save(*graph);
  Load(*graph, saved);
  EXPECT_EQ(Save(*graph), saved);
}

TEST(GraphStream, RenumberingTakesTheFirstFreeIDsAndReusesOnesLetGo) {
  auto graph = MakeGraph();
  QByteArray five = Document(5, NodeRecord(1, 0, 0) + NodeRecord(2, 50, 0) + NodeRecord(3, 100, 0) +
                                    NodeRecord(4, 150, 0) + NodeRecord(5, 200, 0));
  Load(*graph, five);
  Merge(*graph, five, 0, 0);
  std::vector<uint32_t> ids;
  for (TGraphObject* o : graph->Objects()) ids.push_back(o->ID());
  EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

  // 3 is let go: the next object carrying 1 takes it, the one after goes on
  // past everything held.
  graph->FindObjectByID(3)->Delete();
  QByteArray one = Document(1, NodeRecord(1, 0, 100));
  Merge(*graph, one, 0, 0);
  EXPECT_EQ(graph->Objects()[graph->Objects().Count() - 1]->ID(), 3u);
  Merge(*graph, one, 0, 0);
  EXPECT_EQ(graph->Objects()[graph->Objects().Count() - 1]->ID(), 11u);
  for (uint32_t id = 1; id <= 11; ++id) EXPECT_EQ(graph->FindObjectByID(id)->ID(), id);
}

// --- older documents ------------------------------------------------------------

TEST(GraphStream, LegacyLinkPropertiesLoad) {
  QByteArray legacy = Int8Prop("G.FromNode", 1) + Int8Prop("G.ToNode", 2) + IdentProp("G.Kind", "lkUndirected") +
                      Int8Prop("G.ArrowSize", 7);
  QByteArray bytes = Document(3, NodeRecord(1, 0, 0) + NodeRecord(2, 100, 0) + Record("TGraphLink", 3, legacy));
  auto graph = MakeGraph();
  Load(*graph, bytes);
  ASSERT_EQ(graph->Objects().Count(), 3);
  auto* link = dynamic_cast<TGraphLink*>(graph->Objects()[2]);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Source(), graph->Objects()[0]);
  EXPECT_EQ(link->Target(), graph->Objects()[1]);
  EXPECT_EQ(link->EndStyle(), lsNone);
  EXPECT_EQ(link->BeginStyle(), lsNone);
  EXPECT_EQ(link->EndSize(), 9);
  // Only the two objects were stored: the link runs between their outlines.
  ASSERT_EQ(link->PointCount(), 2);
  EXPECT_EQ(link->PointAt(0), TPoint(16, 8));
  EXPECT_EQ(link->PointAt(1), TPoint(100, 8));
  // Written back in today's form.
  QByteArray again = Save(*graph);
  EXPECT_FALSE(HasProperty(again, "G.FromNode"));
  EXPECT_TRUE(HasProperty(again, "G.Source") && HasProperty(again, "G.Target"));
  EXPECT_EQ(ValueAfter(again, "G.EndSize", 2).toHex(' '), QByteArray("02 09"));

  QByteArray other = Document(1, Record("TGraphLink", 1, IdentProp("G.Kind", "lkDirected")));
  Load(*graph, other);
  EXPECT_EQ(static_cast<TGraphLink*>(graph->Objects()[0])->EndStyle(), lsArrow);
}

// --- damaged documents ------------------------------------------------------------

struct TDamage {
  const char* What;
  QByteArray Record;
  QString Message;
  bool AtEnd = false;  // nothing may follow it
};

TEST(GraphStream, ReaderErrorsCarryTheirMessagesAndKeepWhatWasRead) {
  QByteArray badTag = Record("TRectangularNode", 9, Int8Prop("G.Left", 1).replace(char(vaInt8), char(5)));
  QByteArray badPicture;
  PutShort(badPicture, "G.Background.Data");
  badPicture.append(char(vaBinary));
  PutInt32(badPicture, 13);
  PutShort(badPicture, "TBitmap");
  PutInt32(badPicture, 1);
  badPicture.append('B');
  QByteArray wrongSize;
  PutInt32(wrongSize, 5);
  PutShort(wrongSize, "TGraphLink");
  QByteArray hugeName;
  PutInt32(hugeName, 257);
  QByteArray farPoints;
  PutShort(farPoints, "G.BreakPoints");
  farPoints.append(char(vaBinary));
  PutInt32(farPoints, 20);
  for (int32_t v : {2, 0, 0, INT32_MIN, 5}) PutInt32(farPoints, v);
  const TDamage cases[] = {
      {"unknown class", Record("TNoSuchNode", 9, {}), QStringLiteral("Class TNoSuchNode not found")},
      {"unknown property", Record("TRectangularNode", 9, Int8Prop("G.Colour", 1)),
       QStringLiteral("Property G.Colour does not exist")},
      {"unknown inner object", Record("TRectangularNode", 9, Int8Prop("G.Paint.Color", 1)),
       QStringLiteral("Property G.Paint.Color does not exist")},
      {"wrong kind", Record("TRectangularNode", 9, IdentProp("G.Left", "clRed")),
       QStringLiteral("Invalid property value")},
      {"unknown enumeration name", Record("TGraphLink", 9, IdentProp("G.EndStyle", "lsStar")),
       QStringLiteral("Invalid property value")},
      // Found by fuzzing: a node 285 million pixels high made the shape's
      // region run out of bounds inside the platform.
      {"node far too high", Record("TRectangularNode", 9, Int32Prop("G.Height", 0x11000000)),
       QStringLiteral("Invalid property value")},
      {"node of negative width", Record("TRectangularNode", 9, Int8Prop("G.Width", -5)),
       QStringLiteral("Invalid property value")},
      {"node far out", Record("TEllipticNode", 9, Int32Prop("G.Left", INT32_MIN)),
       QStringLiteral("Invalid property value")},
      // Found with documents made for the sanitizers: these overflowed the
      // geometry arithmetic when the object was set up or painted.
      {"pen far too wide", Record("TGraphLink", 9, Int32Prop("G.Pen.Width", INT32_MAX)),
       QStringLiteral("Invalid property value")},
      {"negative pen width", Record("TRectangularNode", 9, Int8Prop("G.Pen.Width", -1)),
       QStringLiteral("Invalid property value")},
      {"font far too high", Record("TRectangularNode", 9, Int32Prop("G.Font.Height", INT32_MIN)),
       QStringLiteral("Invalid property value")},
      {"caption margin far out", Record("TRectangularNode", 9, Int32Prop("G.Margin", INT32_MIN)),
       QStringLiteral("Invalid property value")},
      {"link point far out", Record("TGraphLink", 9, farPoints), QStringLiteral("Invalid property value")},
      {"undecodable picture", Record("TRectangularNode", 9, badPicture), QStringLiteral("Invalid property value")},
      {"unknown value tag", badTag, QStringLiteral("Invalid stream format")},
      {"not a property stream", Record("TRectangularNode", 9, {}).replace("TPF0", "TPF1"),
       QStringLiteral("Invalid stream format")},
      {"truncated", NodeRecord(9, 0, 0).left(40), QStringLiteral("Stream read error"), true},
      {"name size disagrees with its length byte", wrongSize, QStringLiteral("Invalid stream content")},
      {"name size out of range", hugeName, QStringLiteral("Invalid stream content")},
  };
  for (const TDamage& damage : cases) {
    SCOPED_TRACE(damage.What);
    auto graph = MakeGraph();
    int changes = 0;
    graph->OnGraphChange = [&](TGraphEditor*) { ++changes; };
    QByteArray after = damage.AtEnd ? QByteArray() : NodeRecord(3, 50, 50);
    QByteArray bytes = Document(3, NodeRecord(1, 0, 0) + damage.Record + after);
    try {
      Load(*graph, bytes);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), damage.Message);
    }
    // The object before the damage stays, fully set up; nothing after it is read.
    ASSERT_EQ(graph->Objects().Count(), 1);
    EXPECT_EQ(graph->Objects()[0]->BoundsRect(), TRect(0, 0, 16, 16));
    EXPECT_EQ(graph->Objects()[0]->ID(), 1u);
    EXPECT_FALSE(graph->IsUpdating());
    EXPECT_FALSE(graph->QueryEventsSuspended());
    EXPECT_EQ(changes, 1);

    // A paste of the same bytes keeps its first object too.
    try {
      Merge(*graph, bytes, 0, 0);
      ADD_FAILURE() << "merged";
    } catch (const Exception&) {
    }
    EXPECT_EQ(graph->Objects().Count(), 2);
    EXPECT_EQ(graph->Objects()[1]->ID(), 2u);
    EXPECT_FALSE(graph->IsUpdating());
  }
}

TEST(GraphStream, LinksReadBeforeAFailureStillFindTheirEnds) {
  QByteArray bytes = Document(3, Record("TGraphLink", 5, Int8Prop("G.Target", 1) + Int8Prop("G.Source", 2)) +
                                     NodeRecord(1, 0, 0) + NodeRecord(2, 100, 0).left(30));
  auto graph = MakeGraph();
  EXPECT_THROW(Load(*graph, bytes), EReadError);
  ASSERT_EQ(graph->Objects().Count(), 2);
  auto* link = static_cast<TGraphLink*>(graph->Objects()[0]);
  EXPECT_EQ(link->Target(), graph->Objects()[1]);
  EXPECT_EQ(link->Source(), nullptr);
  EXPECT_EQ(link->SourceID(), 0u);
}

TEST(GraphStream, AnnouncedCountsBeyondTheDataFailWithoutReservingForThem) {
  auto graph = MakeGraph();
  EXPECT_THROW(Load(*graph, Document(0x7FFFFFFF, NodeRecord(1, 0, 0))), EReadError);
  EXPECT_EQ(graph->Objects().Count(), 1);
  EXPECT_LT(graph->Objects().Capacity(), 1000);
}

TEST(GraphStream, CountsBelowZeroOrZeroBeforeObjectsAreInvalidContent) {
  const QByteArray invalid[] = {Document(-5, NodeRecord(1, 0, 0)), Document(-1, {}), Document(INT32_MIN, {}),
                                Document(0, NodeRecord(1, 0, 0)), Document(0, QByteArray(1, '\0'))};
  for (const QByteArray& bytes : invalid) {
    SCOPED_TRACE(bytes.toHex(' ').left(40).toStdString());
    auto graph = MakeGraph();
    try {
      Load(*graph, bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EGraphStreamError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Invalid stream content"));
    }
    EXPECT_THROW(Merge(*graph, bytes, 0, 0), EGraphStreamError);
    EXPECT_EQ(graph->Objects().Count(), 0);
  }
  // An empty plan is exactly a zero count with nothing after it.
  auto graph = MakeGraph();
  Load(*graph, Document(0, {}));
  EXPECT_EQ(graph->Objects().Count(), 0);
}

TEST(GraphStream, NamesFromTheDocumentReachMessagesWithControlCharactersEscaped) {
  const struct {
    QByteArray Record;
    QString Message;
  } cases[] = {
      {Record("T\x1b[2JNode\x07", 9, {}), QStringLiteral("Class T\\x1b[2JNode\\x07 not found")},
      // Class names are bytes: a C1 control is one too, a backslash stays readable.
      {Record("T\\N\x9b"
              "1m",
              9, {}),
       QStringLiteral("Class T\\\\N\\x9b1m not found")},
      {Record("TRectangularNode", 9, Int8Prop("G.\x1b]0;owned\x07", 1)),
       QStringLiteral("Property G.\\x1b]0;owned\\x07 does not exist")},
      // Property names are UTF-8: a right-to-left override would turn the message around.
      {Record("TRectangularNode", 9, Int8Prop("G.\xe2\x80\xaeTop", 1)),
       QStringLiteral("Property G.\\u202eTop does not exist")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message.toStdString());
    auto graph = MakeGraph();
    try {
      Load(*graph, Document(1, c.Record));
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST(GraphStream, AnEmptyFontNameStaysEmptyThroughSaveAndLoad) {
  auto graph = MakeGraph();
  TGraphNode* node = AddRect(*graph, {0, 0, 40, 40});
  TFont font;
  font.Assign(node->Font());
  font.SetName(QString());
  node->SetFont(font);
  const QByteArray first = Save(*graph);
  EXPECT_TRUE(HasProperty(first, "G.Font.Name"));

  auto second = MakeGraph();
  Load(*second, first);
  EXPECT_EQ(second->Objects()[0]->Font()->Name(), QString());
  const QByteArray again = Save(*second);
  EXPECT_EQ(again, first);
  auto third = MakeGraph();
  Load(*third, again);
  EXPECT_EQ(third->Objects()[0]->Font()->Name(), QString());
}

TEST(GraphStream, LegacyArrowSizesAtTheIntegerEndsSaturate) {
  const std::pair<int32_t, int> sizes[] = {{INT32_MAX, 255}, {INT32_MAX - 1, 255}, {253, 255}, {7, 9},
                                           {-2, 0},          {INT32_MIN, 0}};
  for (auto [arrowSize, endSize] : sizes) {
    SCOPED_TRACE(arrowSize);
    auto graph = MakeGraph();
    Load(*graph, Document(1, Record("TGraphLink", 1, Int32Prop("G.ArrowSize", arrowSize))));
    EXPECT_EQ(static_cast<TGraphLink*>(graph->Objects()[0])->EndSize(), endSize);
  }
}

// --- object states -----------------------------------------------------------------

TEST(GraphStream, ObjectStatesComeBackAndAVanishedObjectEndsTheRestore) {
  auto graph = MakeGraph();
  TGraphNode* a = AddRect(*graph, {0, 0, 20, 20});
  TGraphNode* b = AddRect(*graph, {40, 0, 60, 20});
  TGraphNode* c = AddRect(*graph, {80, 0, 100, 20});
  TMemoryStream state;
  graph->StoreObjectsState(state, graph->Objects());
  for (TGraphNode* n : {a, b, c}) n->SetBounds(n->Left() + 5, 30, 20, 20);

  state.SetPosition(0);
  graph->LoadObjectsState(state);
  EXPECT_EQ(a->BoundsRect(), TRect(0, 0, 20, 20));
  EXPECT_EQ(c->BoundsRect(), TRect(80, 0, 100, 20));

  for (TGraphNode* n : {a, c}) n->SetBounds(n->Left() + 5, 30, 20, 20);
  b->Delete();
  state.SetPosition(0);
  graph->LoadObjectsState(state);
  EXPECT_EQ(a->BoundsRect(), TRect(0, 0, 20, 20));
  EXPECT_EQ(c->BoundsRect(), TRect(85, 30, 105, 50));
  EXPECT_FALSE(graph->QueryEventsSuspended());
  EXPECT_FALSE(graph->IsUpdating());
}

// --- files -------------------------------------------------------------------------

// Runs Step in a child process; answers the child's exit status (0 when Step
// raised nothing).
int InChild(const std::function<void()>& Step) {
  pid_t pid = fork();
  if (pid == 0) {
    int code = 0;
    try {
      Step();
    } catch (const Exception&) {
      code = 3;
    } catch (...) {
      code = 4;
    }
    _exit(code);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// Adds nodes with long captions, some 300 document bytes each.
void Fill(TGraphEditor& Graph, int Nodes) {
  for (int i = 0; i < Nodes; ++i) AddRect(Graph, {i, i, i + 30, i + 30})->SetText(QString(200, QLatin1Char('x')));
}

TEST(GraphFile, SaveLoadAndMergeThroughFiles) {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("plan.kvf"));
  auto graph = MakeGraph();
  AddRect(*graph, {16, 24, 32, 40});
  graph->SetModified(true);
  graph->SaveToFile(path);
  EXPECT_FALSE(graph->Modified());
  EXPECT_EQ(FileBytes(path), Save(*graph));
  // No temporary file is left beside the document.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan.kvf")});

  auto other = MakeGraph();
  other->LoadFromFile(path);
  EXPECT_EQ(Save(*other), Save(*graph));
  other->MergeFromFile(path, 100, 0);
  ASSERT_EQ(other->Objects().Count(), 2);
  EXPECT_EQ(other->Objects()[1]->BoundsRect(), TRect(116, 24, 132, 40));
  EXPECT_THROW(other->LoadFromFile(dir.filePath(QStringLiteral("missing.kvf"))), EFOpenError);
  EXPECT_EQ(other->Objects().Count(), 2);
}

TEST(GraphFile, FailedSaveIntoAReadOnlyPlaceKeepsThePreviousFile) {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("plan.kvf"));
  auto graph = MakeGraph();
  AddRect(*graph, {0, 0, 20, 20});
  graph->SaveToFile(path);
  QByteArray before = FileBytes(path);
  Fill(*graph, 3);
  graph->SetModified(true);
  QByteArray dirPath = QFile::encodeName(dir.path());
  QByteArray filePath = QFile::encodeName(path);

  // Root writes anywhere, so the save runs as nobody where we are root.
  auto saveAsUser = [&] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(9);
    graph->SaveToFile(path);
  };
  // The folder is closed to the saver ...
  ASSERT_EQ(chmod(dirPath.constData(), 0555), 0);
  EXPECT_EQ(InChild(saveAsUser), 3);
  EXPECT_EQ(FileBytes(path), before);
  // ... or only the document is read-only: it is not replaced either.
  ASSERT_EQ(chmod(dirPath.constData(), 0777), 0);
  ASSERT_EQ(chmod(filePath.constData(), 0444), 0);
  EXPECT_EQ(InChild(saveAsUser), 3);
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan.kvf")});
  ASSERT_EQ(chmod(dirPath.constData(), 0755), 0);

  EXPECT_THROW(graph->SaveToFile(dir.filePath(QStringLiteral("no/such/folder/plan.kvf"))), EStreamError);
  EXPECT_TRUE(graph->Modified());
}

TEST(GraphFile, FailedSaveOnAFullDiskKeepsThePreviousFile) {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("plan.kvf"));
  auto graph = MakeGraph();
  AddRect(*graph, {0, 0, 20, 20});
  graph->SaveToFile(path);
  QByteArray before = FileBytes(path);
  Fill(*graph, 100);  // some 30 KB
  graph->SetModified(true);

  // A file-size limit makes every write past it fail as a full disk does.
  int status = InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    graph->SaveToFile(path);
  });
  EXPECT_EQ(status, 3);
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan.kvf")});

  // A truly full file system, where one can be mounted.
  QTemporaryDir mountPoint;
  QByteArray target = QFile::encodeName(mountPoint.path());
  if (geteuid() != 0 || mount("tmpfs", target.constData(), "tmpfs", 0, "size=16k") != 0)
    GTEST_SKIP() << "no tmpfs could be mounted; the file-size limit stood in for a full disk";
  QString small = mountPoint.filePath(QStringLiteral("plan.kvf"));
  auto tiny = MakeGraph();
  AddRect(*tiny, {0, 0, 20, 20});
  tiny->SaveToFile(small);
  before = FileBytes(small);
  EXPECT_THROW(graph->SaveToFile(small), EStreamError);
  EXPECT_TRUE(graph->Modified());
  EXPECT_EQ(FileBytes(small), before);
  EXPECT_EQ(QDir(mountPoint.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan.kvf")});
  umount(target.constData());
}

}  // namespace
