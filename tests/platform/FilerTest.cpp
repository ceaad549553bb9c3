#include <gtest/gtest.h>

#include <memory>

#include "Exceptions.h"
#include "Filer.h"
#include "GraphicsObjects.h"
#include "Picture.h"
#include "Stream.h"

namespace {

const char* const kKinds[] = {"skNone", "skArrow", "skCircle"};
const TEnumType SampleKindType{"TSampleKind", kKinds};
const char* const kOptions[] = {"soAlpha", "soBeta", "soGamma"};
const TEnumType SampleOptionType{"TSampleOption", kOptions};

// A test object shaped like a graph object: nested pen, brush, font and
// picture, ordinals of every kind, and defined properties.
class TSample : public TPersistent {
 public:
  const char* ClassName() const override { return "TSample"; }
  const TPropList& Properties() const override {
    static const TPropList list = TPropTable<TSample>(TPersistent::Properties())
                                      .String("Text", &TSample::Text, &TSample::SetText)
                                      .Object("Brush", &TSample::Brush)
                                      .Object("Pen", &TSample::Pen)
                                      .Object("Font", &TSample::Font)
                                      .StoredWhen(&TSample::FontStored)
                                      .Boolean("ParentFont", &TSample::ParentFont, &TSample::SetParentFont, true)
                                      .Set("Options", &TSample::Options, &TSample::SetOptions, SampleOptionType, 7)
                                      .Integer("Tag", &TSample::Tag, &TSample::SetTag, 0)
                                      .Enumeration("Kind", &TSample::Kind, &TSample::SetKind, SampleKindType, 1)
                                      .Integer("Color", &TSample::Color, &TSample::SetColor, clWhite, &ColorIdents)
                                      .Int64("Big", &TSample::Big, &TSample::SetBig, 0)
                                      .Object("Background", &TSample::Background);
    return list;
  }
  void DefineProperties(TFiler& Filer) override {
    Filer.DefineProperty(
        "Source", [this](TReader& r) { Source = r.ReadInt64(); }, [this](TWriter& w) { w.WriteInt64(Source); },
        Source != 0);
    Filer.DefineBinaryProperty(
        "Points",
        [this](TStream& s) {
          int32_t count = s.ReadInt32();
          if (count < 0 || count > 1000) throw EReadError(QStringLiteral("bad points"));
          Points.resize(size_t(count));
        },
        [this](TStream& s) { s.WriteInt32(int32_t(Points.size())); }, !Points.empty());
  }

  QString Text() const { return fText; }
  void SetText(const QString& v) { fText = v; }
  TBrush* Brush() const { return fBrush.get(); }
  TPen* Pen() const { return fPen.get(); }
  TFont* Font() const { return fFont.get(); }
  TPicture* Background() const { return fBackground.get(); }
  bool FontStored() const { return !fParentFont; }
  bool ParentFont() const { return fParentFont; }
  void SetParentFont(bool v) { fParentFont = v; }
  uint8_t Options() const { return fOptions; }
  void SetOptions(uint8_t v) { fOptions = v; }
  int Tag() const { return fTag; }
  void SetTag(int v) { fTag = v; }
  int Kind() const { return fKind; }
  void SetKind(int v) { fKind = v; }
  TColor Color() const { return fColor; }
  void SetColor(TColor v) { fColor = v; }
  int64_t Big() const { return fBig; }
  void SetBig(int64_t v) { fBig = v; }

  int64_t Source = 0;
  std::vector<int> Points;

 private:
  QString fText;
  std::unique_ptr<TBrush> fBrush = std::make_unique<TBrush>();
  std::unique_ptr<TPen> fPen = std::make_unique<TPen>();
  std::unique_ptr<TFont> fFont = std::make_unique<TFont>();
  std::unique_ptr<TPicture> fBackground = std::make_unique<TPicture>();
  bool fParentFont = true;
  uint8_t fOptions = 7;
  int fTag = 0;
  int fKind = 1;
  TColor fColor = clWhite;
  int64_t fBig = 0;
};

// The wrapper around one object: "ID", then the object's properties as "G.".
class TWrapper : public TPersistent {
 public:
  explicit TWrapper(TPersistent& g) : fG(&g) {}
  const char* ClassName() const override { return "TGraphStreamableObject"; }
  const TPropList& Properties() const override {
    static const TPropList list = TPropTable<TWrapper>(TPersistent::Properties())
                                      .Integer("ID", &TWrapper::ID, &TWrapper::SetID, std::nullopt)
                                      .Object("G", &TWrapper::G);
    return list;
  }
  void DefineProperties(TFiler& Filer) override {
    Filer.DefineProperty(
        "Extra", [this](TReader& r) { Extra = r.ReadInteger(); }, [this](TWriter& w) { w.WriteInteger(Extra); },
        Extra != 0);
  }
  uint32_t ID() const { return fID; }
  void SetID(uint32_t v) { fID = v; }
  TPersistent* G() const { return fG; }
  int32_t Extra = 0;

 private:
  uint32_t fID = 0;
  TPersistent* fG;
};

// Bounds only, every one without a default.
class TBox : public TPersistent {
 public:
  const char* ClassName() const override { return "TBox"; }
  const TPropList& Properties() const override {
    static const TPropList list = TPropTable<TBox>(TPersistent::Properties())
                                      .Integer("Left", &TBox::Left, &TBox::SetLeft, std::nullopt)
                                      .Integer("Top", &TBox::Top, &TBox::SetTop, std::nullopt)
                                      .Integer("Width", &TBox::Width, &TBox::SetWidth, std::nullopt)
                                      .Integer("Height", &TBox::Height, &TBox::SetHeight, std::nullopt);
    return list;
  }
  int Left() const { return b[0]; }
  void SetLeft(int v) { b[0] = v; }
  int Top() const { return b[1]; }
  void SetTop(int v) { b[1] = v; }
  int Width() const { return b[2]; }
  void SetWidth(int v) { b[2] = v; }
  int Height() const { return b[3]; }
  void SetHeight(int v) { b[3] = v; }
  int b[4] = {};
};

// A source reference and a point list, both defined properties.
class TLine : public TPersistent {
 public:
  const char* ClassName() const override { return "TLine"; }
  void DefineProperties(TFiler& Filer) override {
    Filer.DefineProperty(
        "Source", [this](TReader& r) { Source = r.ReadInt64(); }, [this](TWriter& w) { w.WriteInt64(Source); },
        Source != 0);
    Filer.DefineBinaryProperty(
        "BreakPoints",
        [this](TStream& s) {
          Points.resize(size_t(s.ReadInt32()) * 2);
          for (auto& v : Points) v = s.ReadInt32();
        },
        [this](TStream& s) {
          s.WriteInt32(int32_t(Points.size() / 2));
          for (auto v : Points) s.WriteInt32(v);
        },
        !Points.empty());
  }
  int64_t Source = 0;
  std::vector<int32_t> Points;
};

// Expected bytes, spelled out.
struct TBytes {
  QByteArray b;
  TBytes& U8(int v) {
    b.append(char(v));
    return *this;
  }
  TBytes& I32(int32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char(uint32_t(v) >> (8 * i)));
    return *this;
  }
  TBytes& Raw(const QByteArray& s) {
    b.append(s);
    return *this;
  }
  TBytes& Short(const QByteArray& s) { return U8(int(s.size())).Raw(s); }
  TBytes& Int8(int v) { return U8(vaInt8).U8(v); }
};

QByteArray Header() { return TBytes().Raw("TPF0").Short("TGraphStreamableObject").U8(0).b; }

QByteArray Save(TPersistent& root) {
  TMemoryStream s;
  TWriter(s).WriteRootObject(root, root.ClassName());
  return QByteArray(reinterpret_cast<const char*>(s.Memory()), s.Size());
}

void Load(TPersistent& root, const QByteArray& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.constData(), bytes.size());
  s.SetPosition(0);
  TReader(s).ReadRootObject(root);
}

// The property part of a saved sample: after the header, before the end markers.
QByteArray SavedProperties(TSample& g) {
  TWrapper w(g);
  QByteArray all = Save(w);
  return all.mid(Header().size()).chopped(2);
}

QString ReadError(const QByteArray& bytes) {
  TSample g;
  TWrapper w(g);
  try {
    Load(w, bytes);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return QString();
}

QByteArray WithProperty(const QByteArray& name, const QByteArray& value) {
  return Header() + TBytes().Short(name).Raw(value).U8(0).U8(0).b;
}

}  // namespace

TEST(Filer, WorkedExampleRecordsMatchByteForByte) {
  TBox box;
  box.SetLeft(16), box.SetTop(24), box.SetWidth(16), box.SetHeight(16);
  TWrapper node(box);
  node.SetID(1);
  QByteArray expectedNode = Header() + TBytes()
                                           .Short("ID")
                                           .Int8(1)
                                           .Short("G.Left")
                                           .Int8(16)
                                           .Short("G.Top")
                                           .Int8(24)
                                           .Short("G.Width")
                                           .Int8(16)
                                           .Short("G.Height")
                                           .Int8(16)
                                           .U8(0)
                                           .U8(0)
                                           .b;
  EXPECT_EQ(Save(node).toHex(' '), expectedNode.toHex(' '));

  TLine line;
  line.Source = 1;
  line.Points = {32, 32, 100, 32};
  TWrapper link(line);
  link.SetID(2);
  QByteArray expectedLink = Header() + TBytes()
                                           .Short("ID")
                                           .Int8(2)
                                           .Short("G.Source")
                                           .Int8(1)
                                           .Short("G.BreakPoints")
                                           .U8(10)
                                           .I32(20)
                                           .I32(2)
                                           .I32(32)
                                           .I32(32)
                                           .I32(100)
                                           .I32(32)
                                           .U8(0)
                                           .U8(0)
                                           .b;
  EXPECT_EQ(Save(link).toHex(' '), expectedLink.toHex(' '));
  EXPECT_EQ(expectedNode.size() + expectedLink.size(), 73 + 85);

  TLine back;
  TWrapper backLink(back);
  Load(backLink, expectedLink);
  EXPECT_EQ(backLink.ID(), 2u);
  EXPECT_EQ(back.Source, 1);
  EXPECT_EQ(back.Points, line.Points);
}

TEST(Filer, DefaultsAreNotWrittenAndValuesUseTheirTags) {
  TSample g;
  EXPECT_EQ(SavedProperties(g), TBytes().Short("ID").Int8(0).b);

  g.Brush()->SetColor(RGBColor(200, 200, 200));
  g.Pen()->SetColor(RGBColor(192, 192, 192));
  g.SetText(QStringLiteral("厅"));
  g.SetTag(-129);
  g.SetKind(0);
  g.SetOptions(0b101);
  EXPECT_EQ(SavedProperties(g).toHex(' '), TBytes()
                                               .Short("ID")
                                               .Int8(0)
                                               .Short("G.Text")
                                               .U8(18)
                                               .I32(1)
                                               .Raw("\x85\x53")
                                               .Short("G.Brush.Color")
                                               .U8(4)
                                               .I32(0x00C8C8C8)
                                               .Short("G.Pen.Color")
                                               .U8(7)
                                               .Short("clSilver")
                                               .Short("G.Options")
                                               .U8(11)
                                               .Short("soAlpha")
                                               .Short("soGamma")
                                               .U8(0)
                                               .Short("G.Tag")
                                               .U8(3)
                                               .Raw("\x7F\xFF")
                                               .Short("G.Kind")
                                               .U8(7)
                                               .Short("skNone")
                                               .b.toHex(' '));
}

TEST(Filer, StringTagFollowsTheLengthRule) {
  auto encoded = [](const QString& text) {
    TSample g;
    g.SetText(text);
    QByteArray props = SavedProperties(g);
    return props.mid(props.indexOf("G.Text") + 6);
  };
  QString ascii255(255, QLatin1Char('a'));
  EXPECT_EQ(encoded(ascii255), TBytes().U8(6).U8(255).Raw(ascii255.toLatin1()).b);
  QString ascii256(256, QLatin1Char('a'));
  EXPECT_EQ(encoded(ascii256), TBytes().U8(12).I32(256).Raw(ascii256.toLatin1()).b);
  QString latin = QStringLiteral("Café crème");
  EXPECT_EQ(encoded(latin), TBytes().U8(20).I32(12).Raw(latin.toUtf8()).b);
  EXPECT_EQ(encoded(QStringLiteral("卧室")), TBytes().U8(18).I32(2).Raw("\x67\x53\xA4\x5B").b);
  // Exactly twice as long in UTF-8 is already wide.
  EXPECT_EQ(encoded(QStringLiteral("é")), TBytes().U8(18).I32(1).U8(0xE9).U8(0).b);
}

TEST(Filer, Int64UsesItsTagOnlyOutsideThe32BitRange) {
  TSample g;
  g.Source = 5000000000LL;
  g.SetBig(-7);
  QByteArray props = SavedProperties(g);
  EXPECT_TRUE(props.contains(TBytes().Short("G.Big").Int8(-7).b));
  EXPECT_TRUE(props.contains(TBytes().Short("G.Source").U8(19).I32(int32_t(705032704)).I32(1).b));
}

TEST(Filer, DefinedPropertiesFollowThePublishedOnesOfTheirObject) {
  TSample g;
  g.SetTag(5);
  g.Source = 3;
  g.Background()->Bitmap().SetSize(1, 1);
  TWrapper w(g);
  w.Extra = 9;
  QByteArray all = Save(w);
  qsizetype tag = all.indexOf("G.Tag"), data = all.indexOf("G.Background.Data"), source = all.indexOf("G.Source"),
            extra = all.indexOf("Extra");
  ASSERT_GT(tag, 0);
  EXPECT_LT(tag, data);
  EXPECT_LT(data, source);
  EXPECT_LT(source, extra);
}

TEST(Filer, FontIsWrittenOnlyWhenNotParentFont) {
  TSample g;
  g.SetParentFont(false);
  g.Font()->SetName(QString());
  g.Font()->SetStyle((1 << fsBold) | (1 << fsUnderline));
  EXPECT_EQ(SavedProperties(g).toHex(' '), TBytes()
                                               .Short("ID")
                                               .Int8(0)
                                               .Short("G.Font.Charset")
                                               .U8(7)
                                               .Short("DEFAULT_CHARSET")
                                               .Short("G.Font.Color")
                                               .U8(7)
                                               .Short("clWindowText")
                                               .Short("G.Font.Height")
                                               .Int8(-11)
                                               // Empty, yet written: read back it stays empty.
                                               .Short("G.Font.Name")
                                               .U8(6)
                                               .U8(0)
                                               .Short("G.Font.Style")
                                               .U8(11)
                                               .Short("fsBold")
                                               .Short("fsUnderline")
                                               .U8(0)
                                               .Short("G.ParentFont")
                                               .U8(8)
                                               .b.toHex(' '));
}

TEST(Filer, RoundTripRestoresEveryProperty) {
  TSample g;
  g.SetText(QStringLiteral("餐厅 dining"));
  g.Brush()->SetStyle(bsCross);
  g.Brush()->SetColor(clNone);
  g.Pen()->SetMode(pmXor);
  g.Pen()->SetWidth(70000);
  g.Pen()->SetStyle(psDashDot);
  g.SetParentFont(false);
  g.Font()->SetCharset(134);
  g.Font()->SetHeight(-15);
  g.Font()->SetName(QStringLiteral("文泉驿"));
  g.Font()->SetOrientation(900);
  g.Font()->SetStyle(1 << fsStrikeOut);
  g.Font()->SetQuality(fqClearType);
  g.SetOptions(2);
  g.SetKind(2);
  g.SetColor(clBtnFace);
  g.SetBig(-5000000000LL);
  g.Source = 77;
  g.Points = {1, 2, 3};
  g.Background()->Bitmap().SetSize(3, 2);
  g.Background()->Bitmap().ScanLine(1)[8] = 0xAB;
  TWrapper w(g);
  w.SetID(0xFFFFFFFFu);
  w.Extra = 100000;

  TSample r;
  TWrapper rw(r);
  Load(rw, Save(w));
  EXPECT_EQ(rw.ID(), 0xFFFFFFFFu);
  EXPECT_EQ(rw.Extra, 100000);
  EXPECT_EQ(r.Text(), g.Text());
  EXPECT_EQ(r.Brush()->Style(), bsCross);
  EXPECT_EQ(r.Brush()->Color(), clNone);
  EXPECT_EQ(r.Pen()->Mode(), pmXor);
  EXPECT_EQ(r.Pen()->Width(), 70000);
  EXPECT_EQ(r.Pen()->Style(), psDashDot);
  EXPECT_FALSE(r.ParentFont());
  EXPECT_TRUE(*r.Font() == *g.Font());
  EXPECT_EQ(r.Options(), 2);
  EXPECT_EQ(r.Kind(), 2);
  EXPECT_EQ(r.Color(), clBtnFace);
  EXPECT_EQ(r.Big(), -5000000000LL);
  EXPECT_EQ(r.Source, 77);
  EXPECT_EQ(r.Points.size(), 3u);
  ASSERT_TRUE(r.Background()->HasGraphic());
  EXPECT_EQ(r.Background()->Bitmap().ToImage(), g.Background()->Bitmap().ToImage());
}

TEST(Filer, ReaderIsLenientWhereTheFormatAllows) {
  TSample g;
  TWrapper w(g);
  Load(w, Header() + TBytes()
                         .Short("g.pen.COLOR")
                         .U8(7)
                         .Short("CLRED")
                         .Short("G.Text")
                         .U8(12)
                         .I32(2)
                         .Raw("ok")
                         .Short("G.Kind")
                         .U8(7)
                         .Short("SKCIRCLE")
                         .Short("G.Big")
                         .U8(4)
                         .I32(-3)
                         .Short("g.source")
                         .U8(3)
                         .U8(0)
                         .U8(1)
                         .Short("G.Brush")
                         .U8(13)
                         .U8(0)
                         .U8(0)
                         .b);
  EXPECT_EQ(g.Pen()->Color(), clRed);
  EXPECT_EQ(g.Text(), QStringLiteral("ok"));
  EXPECT_EQ(g.Kind(), 2);
  EXPECT_EQ(g.Big(), -3);
  EXPECT_EQ(g.Source, 256);
}

TEST(Filer, BrokenTextDecodesToReplacementCharacters) {
  TSample g;
  TWrapper w(g);
  Load(w, WithProperty("G.Text", TBytes().U8(18).I32(3).Raw(QByteArray("A\x00\x00\xD8\x42\x00", 6)).b));
  EXPECT_EQ(g.Text(), QStringLiteral("A\uFFFDB"));
  Load(w, WithProperty("G.Text", TBytes()
                                     .U8(20)
                                     .I32(3)
                                     .Raw("a\xFF"
                                          "b")
                                     .b));
  EXPECT_EQ(g.Text(), QStringLiteral("a\uFFFDb"));
}

TEST(Filer, ReaderErrorsCarryTheirMessages) {
  const QString format = QStringLiteral("Invalid stream format"), value = QStringLiteral("Invalid property value"),
                readError = QStringLiteral("Stream read error");
  EXPECT_EQ(ReadError(TBytes().Raw("TPF1").Short("X").U8(0).U8(0).U8(0).b), format);
  EXPECT_EQ(ReadError(WithProperty("G.Nope", "\x02\x01")), QStringLiteral("Property G.Nope does not exist"));
  EXPECT_EQ(ReadError(WithProperty("G.Pen.Nope", "\x02\x01")), QStringLiteral("Property G.Pen.Nope does not exist"));
  EXPECT_EQ(ReadError(WithProperty("G.Tag.X", "\x02\x01")), QStringLiteral("Property G.Tag.X does not exist"));
  EXPECT_TRUE(
      ReadError(WithProperty(QByteArray("G.Tag\0x", 7), "\x02\x01")).endsWith(QStringLiteral(" does not exist")));
  EXPECT_EQ(ReadError(WithProperty("G.Tag", TBytes().U8(6).Short("1").b)), value);
  EXPECT_EQ(ReadError(WithProperty("G.Tag", TBytes().U8(19).I32(1).I32(0).b)), value);
  EXPECT_EQ(ReadError(WithProperty("G.Kind", TBytes().U8(7).Short("skSquare").b)), value);
  EXPECT_EQ(ReadError(WithProperty("G.Color", TBytes().U8(7).Short("clPlaid").b)), value);
  EXPECT_EQ(ReadError(WithProperty("G.Tag", TBytes().U8(7).Short("clRed").b)), value);
  EXPECT_EQ(ReadError(WithProperty("G.Options", TBytes().U8(11).Short("soDelta").U8(0).b)), value);
  EXPECT_EQ(ReadError(WithProperty("G.ParentFont", "\x02\x01")), value);
  EXPECT_EQ(ReadError(WithProperty("G.Text", "\x02\x01")), value);
  EXPECT_EQ(ReadError(WithProperty("G.Brush", "\x02\x01")), value);
  EXPECT_EQ(ReadError(WithProperty("G.Points", "\x02\x01")), value);
  EXPECT_EQ(ReadError(WithProperty("G.Tag", "\x05")), format);
  EXPECT_EQ(ReadError(WithProperty("G.Tag", "\x15")), format);
  EXPECT_EQ(ReadError(WithProperty("G.Text", TBytes().U8(12).I32(-1).b)), format);
  EXPECT_EQ(ReadError(Header() + TBytes().U8(0).U8(1).b), format);
  EXPECT_EQ(ReadError(Header() + TBytes().U8(0).b), readError);
  EXPECT_EQ(ReadError(Header() + TBytes().U8(200).Raw("G.T").b), readError);
  EXPECT_EQ(ReadError(WithProperty("G.Points", TBytes().U8(10).I32(1000).b)), readError);
}

namespace {

// Remembers the largest read asked of it, to show that no length read from
// the data is trusted before it has been checked.
class TProbeStream : public TMemoryStream {
 public:
  int64_t Read(void* Buffer, int64_t Count) override {
    Largest = std::max(Largest, Count);
    return TMemoryStream::Read(Buffer, Count);
  }
  int64_t Largest = 0;
};

}  // namespace

TEST(Filer, HugeLengthsFailBeforeAnyAllocation) {
  for (const QByteArray& value : {TBytes().U8(18).I32(0x7FFFFFFF).b, TBytes().U8(18).I32(0x40000001).Raw("ab").b,
                                  TBytes().U8(20).I32(0x7FFFFFF0).b, TBytes().U8(12).I32(0x10000).b}) {
    TProbeStream s;
    QByteArray bytes = WithProperty("G.Text", value);
    s.WriteBuffer(bytes.constData(), bytes.size());
    s.SetPosition(0);
    TSample g;
    TWrapper w(g);
    EXPECT_THROW(TReader(s).ReadRootObject(w), EReadError);
    EXPECT_LE(s.Largest, 255);
  }
}

namespace {

QByteArray RichStream() {
  TSample g;
  g.SetText(QStringLiteral("厨房"));
  g.SetParentFont(false);
  g.SetOptions(3);
  g.SetBig(1LL << 40);
  g.Source = 4;
  g.Points = {1};
  g.Background()->Bitmap().SetSize(2, 2);
  TWrapper w(g);
  w.SetID(12);
  return Save(w);
}

}  // namespace

TEST(Filer, EveryTruncationFailsCleanly) {
  QByteArray full = RichStream();
  for (qsizetype n = 0; n < full.size(); ++n) {
    QString message = ReadError(full.left(n));
    EXPECT_FALSE(message.isEmpty()) << "cut at " << n;
  }
  EXPECT_TRUE(ReadError(full).isEmpty());
}

TEST(Filer, FlippedBytesNeverCrash) {
  QByteArray full = RichStream();
  int failures = 0;
  for (qsizetype i = 0; i < full.size(); ++i) {
    for (char mask : {char(0xFF), char(0x01), char(0x80), char(0x7F)}) {
      QByteArray damaged = full;
      damaged[i] = char(damaged[i] ^ mask);
      if (!ReadError(damaged).isEmpty()) ++failures;
    }
  }
  EXPECT_GT(failures, 0);
}

TEST(Filer, TypedReadsPeekAndCheckTheirKind) {
  TMemoryStream s;
  QByteArray bytes = TBytes().U8(7).Short("clRed").Int8(5).U8(19).I32(0).I32(1).U8(13).U8(9).U8(6).Short("x").b;
  s.WriteBuffer(bytes.constData(), bytes.size());
  s.SetPosition(0);
  TReader r(s);
  EXPECT_EQ(r.NextValue(), vaIdent);
  EXPECT_EQ(r.NextValue(), vaIdent);
  EXPECT_EQ(r.ReadIdent(), QByteArray("clRed"));
  EXPECT_EQ(r.NextValue(), vaInt8);
  EXPECT_EQ(r.ReadInteger(), 5);
  EXPECT_THROW(r.ReadInteger(), EReadError);  // a 64-bit value
  s.Seek(-1, soCurrent);
  EXPECT_EQ(r.ReadInt64(), int64_t(1) << 32);
  EXPECT_EQ(r.ReadIdent(), QByteArray("nil"));
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadString(), QStringLiteral("x"));
  try {
    r.NextValue();
    FAIL() << "read past the end";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Stream read error"));
  }
}
