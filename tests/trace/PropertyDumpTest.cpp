#include <gtest/gtest.h>

#include <stdexcept>

#include "GraphicsObjects.h"
#include "PropertyDump.h"
#include "TraceTestSupport.h"
#include "TraceTexts.h"

namespace {

enum TShade { shLight, shDark };
constexpr const char* kShades[] = {"shLight", "shDark"};
const TEnumType ShadeType{"TShade", kShades};

class TInner : public TPersistent {
 public:
  const char* ClassName() const override { return "TInner"; }
  const TPropList& Properties() const override {
    static const TPropList list = TPropTable<TInner>(TPersistent::Properties())
                                      .Integer("Width", &TInner::Width, &TInner::SetWidth, 1)
                                      .Object("Self", &TInner::Self);
    return list;
  }
  int Width() const {
    if (fFail) throw std::runtime_error("unreadable");
    return fWidth;
  }
  void SetWidth(int v) { fWidth = v; }
  // Loops back to itself when asked to: the dump must stop.
  TInner* Self() const { return fLoop ? const_cast<TInner*>(this) : nullptr; }
  int fWidth = 3;
  bool fLoop = false;
  bool fFail = false;
};

class TSample : public TPersistent {
 public:
  const char* ClassName() const override { return "TSample"; }
  const TPropList& Properties() const override {
    static const TPropList list = TPropTable<TSample>(TPersistent::Properties())
                                      .Integer("Count", &TSample::Count, &TSample::SetCount, 0)
                                      .Integer("Color", &TSample::Color, &TSample::SetColor, clBlack, &ColorIdents)
                                      .Boolean("Visible", &TSample::Visible, &TSample::SetVisible, true)
                                      .Enumeration("Shade", &TSample::Shade, &TSample::SetShade, ShadeType, shLight)
                                      .Set("Styles", &TSample::Styles, &TSample::SetStyles, ShadeType, 0)
                                      .String("Caption", &TSample::Caption, &TSample::SetCaption)
                                      .Object("Inner", &TSample::Inner)
                                      .Object("Missing", &TSample::Missing);
    return list;
  }
  int Count() const { return fCount; }
  void SetCount(int v) { fCount = v; }
  TColor Color() const { return fColor; }
  void SetColor(TColor v) { fColor = v; }
  bool Visible() const { return fVisible; }
  void SetVisible(bool v) { fVisible = v; }
  TShade Shade() const { return fShade; }
  void SetShade(TShade v) { fShade = v; }
  int Styles() const { return fStyles; }
  void SetStyles(int v) { fStyles = v; }
  QString Caption() const { return fCaption; }
  void SetCaption(const QString& v) { fCaption = v; }
  TInner* Inner() const { return fInner.get(); }
  TInner* Missing() const { return nullptr; }

  int fCount = 12;
  TColor fColor = clRed;
  bool fVisible = true;
  TShade fShade = shDark;
  int fStyles = 1;
  QString fCaption = QStringLiteral("Hall 厅");
  std::unique_ptr<TInner> fInner = std::make_unique<TInner>();
};

QString Lines(std::initializer_list<const char*> lines) {
  QStringList all;
  for (const char* line : lines) all << QString::fromUtf8(line);
  return all.join(QStringLiteral("\r\n"));
}

class TSampleList {
 public:
  const char* ClassName() const { return "TSampleList"; }
  int Count() const { return 2; }
  const TPersistent* Items(int i) const { return i == 0 ? static_cast<const TPersistent*>(&fPen) : &fInner; }
  TPen fPen;
  TInner fInner;
};

}  // namespace

TEST(PropertyDump, EveryKindOfProperty) {
  TSample sample;
  EXPECT_EQ(PropertyDump(sample), Lines({
                                      "  Count = 12",
                                      "  Color = 255",
                                      "  Visible = True",
                                      "  Shade = shDark",
                                      "+ Styles = [TShades]",
                                      "    shLight = True",
                                      "    shDark = False",
                                      "  Caption = 'Hall 厅'",
                                      "* Inner = <TInner>",
                                      "    Inner.Width = 3",
                                      "    Inner.Self = <TPersistent> (not assigned)",
                                      "  Missing = <TPersistent> (not assigned)",
                                  }));
  TPen pen;
  EXPECT_EQ(PropertyDump(pen), Lines({"  Color = 0", "  Mode = pmCopy", "  Style = psSolid", "  Width = 1"}));
}

TEST(PropertyDump, ObjectThatContainsItselfStops) {
  TInner loop;
  loop.fLoop = true;
  const QStringList lines = PropertyDump(loop).split(QStringLiteral("\r\n"));
  EXPECT_EQ(lines.size(), 2 * 16);
  EXPECT_EQ(lines[3], QStringLiteral("  * Self.Self = <TInner>"));
}

TEST(PropertyDump, FailingGetterIsReported) {
  TSample sample;
  sample.fInner->fFail = true;
  const QStringList lines = PropertyDump(sample).split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 11);
  EXPECT_EQ(lines[8], QStringLiteral("* Inner = <TInner>"));
  EXPECT_EQ(lines[9], QStringLiteral("  *** Exception triggered ***"));
  EXPECT_EQ(lines[10], QStringLiteral("  Missing = <TPersistent> (not assigned)"));
  EXPECT_EQ(PropertyDump(*sample.fInner), QStringLiteral("*** Exception ***"));
}

TEST(PropertyDump, ObjectAndCollectionTexts) {
  TRecordingDebugger t;
  TInner inner;
  t.Debugger.LogObject(&inner);
  t.Debugger.TraceObject(&inner);
  t.Debugger.LogObjectWithTag(nullptr, QStringLiteral("unused"));
  TSampleList list;
  t.Debugger.LogCollection(list);
  ASSERT_EQ(t.Records().size(), 4u);
  const QString address = PointerHex(&inner);
  const QString dump = QStringLiteral("\r\n  Width = 3\r\n  Self = <TPersistent> (not assigned)");
  EXPECT_EQ(TextOf(t.Records()[0]), QStringLiteral("Object: ") + address + dump);
  EXPECT_EQ(TextOf(t.Records()[1]), QStringLiteral("Object: ") + address.mid(1) + dump);
  EXPECT_EQ(TextOf(t.Records()[2]), QStringLiteral("Object: $0000000000000000\r\n"));
  EXPECT_EQ(TagOf(t.Records()[2]), QString());
  EXPECT_EQ(t.Records()[0].MsgType, static_cast<uint32_t>(tmtObject));
  EXPECT_EQ(TextOf(t.Records()[3]),
            QStringLiteral("Collection: ") + PointerHex(&list) + QStringLiteral(" TSampleList\r\n") +
                Lines({"  Count = 2", "", "  object: TPen", "    Index = 0", "    Color = 0", "    Mode = pmCopy",
                       "    Style = psSolid", "    Width = 1", "  end", "", "  object: TInner", "    Index = 1",
                       "    Width = 3", "    Self = <TPersistent> (not assigned)", "  end", "end"}));
  EXPECT_EQ(t.Records()[3].MsgType, static_cast<uint32_t>(tmtObject));
}

TEST(PropertyDump, ComponentTextHoldsStoredNonDefaultValues) {
  TSample sample;
  sample.fVisible = true;  // the default: left out
  sample.fCaption = QStringLiteral("it's");
  EXPECT_EQ(ComponentText(&sample), Lines({"object TSample", "  Count = 12", "  Color = clRed", "  Shade = shDark",
                                           "  Styles = [shLight]", "  Caption = 'it''s'", "  Inner.Width = 3", "end"}));
  TRecordingDebugger t;
  t.Debugger.LogComponentWithTag(nullptr, QStringLiteral("cmp"));
  ASSERT_EQ(t.Records().size(), 1u);
  EXPECT_EQ(TextOf(t.Records()[0]), QStringLiteral("Component is nil."));
  EXPECT_EQ(TagOf(t.Records()[0]), QStringLiteral("cmp"));
  EXPECT_EQ(t.Records()[0].MsgType, static_cast<uint32_t>(tmtComponent));
}
