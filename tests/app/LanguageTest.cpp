// The languages the designer speaks and how it tells document errors.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QXmlStreamReader>
#include <algorithm>

#include "AppTestSupport.h"
#include "DocumentErrors.h"
#include "GraphErrors.h"
#include "InterfaceLanguage.h"
#include "Translations.h"

TEST(InterfaceLanguage, ChineseUnlessTheUserPrefersAnotherLanguage) {
  using L = TInterfaceLanguage;
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("zh-CN")}), L::Chinese);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("zh-Hant-TW"), QStringLiteral("en")}), L::Chinese);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("en-US"), QStringLiteral("zh-CN")}), L::English);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("de-DE")}), L::English);
  // The C locale names no language: the program's own stays.
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("C")}), L::Chinese);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("C"), QStringLiteral("en")}), L::English);
  EXPECT_EQ(InterfaceLanguageFor({}), L::Chinese);
}

TEST(DocumentErrors, SayWhatFailedAndWhyWithTheTechnicalMessage) {
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Open, EGraphStreamError(QStringLiteral("Invalid stream content"))),
            QStringLiteral("无法打开户型图：文件已损坏 (Invalid stream content)"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Open, EClassNotFound(QStringLiteral("Class TWall not found"))),
            QStringLiteral("无法打开户型图：文件已损坏 (Class TWall not found)"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Open, EFOpenError(QStringLiteral("Cannot open file \"a.kvf\""))),
            QStringLiteral("无法打开户型图：文件无法读取 (Cannot open file \"a.kvf\")"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Save, EFCreateError(QStringLiteral("Cannot create file"))),
            QStringLiteral("无法保存户型图：文件无法写入 (Cannot create file)"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Export, EWriteError(QStringLiteral("No space left on device"))),
            QStringLiteral("无法导出图片：写入失败 (No space left on device)"));
  // A class that says nothing more than the task keeps just its message.
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Save, Exception(QStringLiteral("odd"))),
            QStringLiteral("无法保存户型图 (odd)"));
}

TEST(DocumentErrors, TheUsersMessageTravelsOnAndSuccessPassesThrough) {
  int runs = 0;
  WithDocumentErrors(TDocumentTask::Open, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
  try {
    WithDocumentErrors(TDocumentTask::Open, [] { throw EReadError(QStringLiteral("Stream read error")); });
    FAIL() << "the error was swallowed";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("无法打开户型图：文件已损坏 (Stream read error)"));
  }
}

namespace {

bool HasChinese(const QString& Text) {
  for (QChar c : Text)
    if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) return true;
  return false;
}

QString PlainText(const QString& Html) { return QString(Html).remove(QRegularExpression(QStringLiteral("<[^>]*>"))); }

// Every text the window shows a user: captions, hints, list entries,
// the status bar, the palette and the toolbar's commands, the recent-plan
// menu; each with where it was found.
QStringList VisibleTexts(THouseDesigner& Window) {
  QStringList texts;
  auto add = [&](const QString& Where, const QString& Text) {
    if (!Text.trimmed().isEmpty()) texts << Where + QStringLiteral(": ") + Text;
  };
  add(QStringLiteral("title"), Window.windowTitle());
  for (QWidget* w : Window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&Window)) continue;
    const QString where =
        w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    add(where + QStringLiteral(" hint"), w->toolTip());
    if (auto* label = qobject_cast<QLabel*>(w)) add(where, PlainText(label->text()));
    if (auto* button = qobject_cast<QAbstractButton*>(w)) add(where, button->text());
    if (auto* tool = qobject_cast<QToolButton*>(w); tool && tool->menu()) {
      emit tool->menu()->aboutToShow();
      for (QAction* entry : tool->menu()->actions()) add(where + QStringLiteral(" menu"), entry->text());
    }
    if (auto* box = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < box->count(); ++i) add(where, box->itemText(i));
  }
  for (QAction* action : Window.ToolBar1->actions()) {
    add(action->objectName(), action->toolTip());
    if (action->menu())
      for (QAction* entry : action->menu()->actions()) add(action->objectName(), entry->text());
  }
  for (int c = 0; c < Window.LeftButtons->CategoryCount(); ++c) {
    const TPaletteCategory& category = Window.LeftButtons->Category(c);
    add(QStringLiteral("palette"), category.Caption);
    for (const TPaletteButton& button : category.Buttons) {
      // A room label's caption is the text it places on the plan.
      if (std::find(RoomLabels.begin(), RoomLabels.end(), button.Caption) == RoomLabels.end())
        add(QStringLiteral("palette"), button.Caption);
      add(QStringLiteral("palette hint"), button.Hint);
    }
  }
  return texts;
}

}  // namespace

// The window as the program starts it in an English session.
struct EnglishWindowTest : DesignerTest {
  void SetUp() override { ChooseInterfaceLanguage(TInterfaceLanguage::English); }
  void TearDown() override {
    DesignerTest::TearDown();
    ChooseInterfaceLanguage(std::nullopt);
    LoadInterfaceTranslations(DataDir, TInterfaceLanguage::Chinese);
  }
};

TEST_F(EnglishWindowTest, ShowsNoUntranslatedText) {
  Start();
  ASSERT_EQ(LoadedInterfaceLanguage(), TInterfaceLanguage::English);
  // Something selected, so the status bar describes it too.
  ClickPalette(0, 4);
  DragPlan(QPoint(40, 40), QPoint(140, 90));
  window->actEditUndo->trigger();
  window->actEditRedo->trigger();
  ProcessEvents();

  const QStringList texts = VisibleTexts(*window);
  EXPECT_TRUE(texts.contains(QStringLiteral("title: Floor Plan Designer"))) << texts.join('\n').toStdString();
  EXPECT_TRUE(texts.contains(QStringLiteral("palette: Basic tools")));
  EXPECT_TRUE(texts.contains(QStringLiteral("palette hint: Living room")));
  EXPECT_TRUE(texts.contains(QStringLiteral("LinkLabel: Help")));
  for (const QString& text : texts) EXPECT_FALSE(HasChinese(text)) << text.toStdString();
  // The help link opens the English page.
  EXPECT_TRUE(HelpPageUrl().endsWith(QStringLiteral("/help.en.html")));
}

TEST_F(EnglishWindowTest, EveryTranslationIsFinished) {
  QFile ts(QStringLiteral(HUXING_TS_FILE));
  ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&ts);
  int messages = 0;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    if (xml.name() != QLatin1String("translation")) continue;
    ++messages;
    EXPECT_NE(xml.attributes().value(QStringLiteral("type")), QLatin1String("unfinished")) << source.toStdString();
    const QString translation = xml.readElementText();
    EXPECT_FALSE(translation.isEmpty()) << source.toStdString();
    EXPECT_FALSE(HasChinese(translation)) << source.toStdString();
    // Placeholders travel into the translation.
    for (const QString& mark : {QStringLiteral("%1"), QStringLiteral("%2"), QStringLiteral("%3")})
      EXPECT_EQ(source.contains(mark), translation.contains(mark)) << source.toStdString();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
  EXPECT_GT(messages, 150);
}

// The Chinese window shows only texts the translation knows, so the
// English one can have no gaps: a text added without tr() shows up here.
TEST_F(DesignerTest, EveryChineseTextOfTheWindowIsInTheTranslation) {
  QFile ts(QStringLiteral(HUXING_TS_FILE));
  ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
  const QString sources = QString::fromUtf8(ts.readAll());
  Start();
  ProcessEvents();
  for (const QString& entry : VisibleTexts(*window)) {
    const QString text = entry.section(QStringLiteral(": "), 1);
    if (!HasChinese(text) || entry.startsWith(QLatin1String("title")) || entry.startsWith(QLatin1String("StatusPanel")))
      continue;
    EXPECT_TRUE(sources.contains(QStringLiteral("<source>") + text.toHtmlEscaped() + QStringLiteral("</source>")))
        << entry.toStdString();
  }
}

// The user's language as the desktop sets it, through the real program.
TEST(ProgramLanguage, LanguageVariableChoosesTheInterface) {
  auto help = [](const char* Language) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(Language));
    program.setProcessEnvironment(environment);
    program.start(BinDir() + QStringLiteral("/huxing"), {QStringLiteral("--help")});
    EXPECT_TRUE(program.waitForFinished(30000));
    return QString::fromUtf8(program.readAllStandardOutput());
  };
  EXPECT_TRUE(help("en").contains(QStringLiteral("Floor Plan Designer: draws the floor plan")));
  EXPECT_TRUE(help("zh_CN").contains(QStringLiteral("户型图设计器：绘制住宅的户型图")));
  EXPECT_TRUE(help("de:en").contains(QStringLiteral("Floor Plan Designer")));
}
