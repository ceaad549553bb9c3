// The designer's own widgets and helpers on their own: the tool palette,
// the colour box, the file dialog's filters and the help page converter.
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSet>
#include <QToolTip>

#include "AppTestSupport.h"
#include "ColorBox.h"
#include "FileDialog.h"
#include "MarkdownHtml.h"

namespace {

struct ToolPaletteTest : ::testing::Test {
  void SetUp() override {
    palette.resize(129, 120);
    int a = palette.AddCategory(QStringLiteral("A"), QColor(0xEAEAFF));
    for (int i = 0; i < 3; ++i)
      palette.AddButton(a, {QStringLiteral("a%1").arg(i), QStringLiteral("hint a%1").arg(i), -1});
    int b = palette.AddCategory(QStringLiteral("B"), QColor(0xFFEAFF));
    for (int i = 0; i < 4; ++i)
      palette.AddButton(b, {QStringLiteral("b%1").arg(i), QStringLiteral("hint b%1").arg(i), -1});
    palette.OnButtonClicked = [this](TToolPalette*, TPaletteItem item) { clicked.push_back(item); };
    palette.show();
    ProcessEvents();
  }
  void Click(QPoint At) { QTest::mouseClick(palette.viewport(), Qt::LeftButton, {}, At); }

  TToolPalette palette;
  std::vector<TPaletteItem> clicked;
};

TEST_F(ToolPaletteTest, ButtonsFlowDownwardsUnderTheirCaption) {
  const QRect caption = palette.CaptionRect(1);
  const QRect first = palette.ButtonRect({1, 0}), second = palette.ButtonRect({1, 1});
  EXPECT_EQ(first.top(), caption.bottom() + 1 + TToolPalette::ButtonInset);
  EXPECT_EQ(second.top(), first.bottom() + 1 + TToolPalette::ButtonSpacing);
  EXPECT_EQ(first.left(), second.left());
  EXPECT_EQ(palette.ContentHeight(), 2 * TToolPalette::CaptionHeight + 4 * TToolPalette::ButtonInset +
                                         7 * (TToolPalette::ButtonHeight + TToolPalette::ButtonSpacing));
  EXPECT_TRUE(palette.ButtonRect({1, 9}).isEmpty());
  EXPECT_EQ(palette.ButtonAt(first.center()), (TPaletteItem{1, 0}));
  EXPECT_FALSE(palette.ButtonAt(caption.center()).IsValid());
}

TEST_F(ToolPaletteTest, ClickSelectsAndReportsTheButton) {
  palette.EnsureVisible({1, 3});
  Click(palette.ButtonRect({1, 3}).center());
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], (TPaletteItem{1, 3}));
  EXPECT_EQ(palette.SelectedItem(), (TPaletteItem{1, 3}));
  // A press that ends on another button clicks nothing.
  palette.verticalScrollBar()->setValue(0);
  QTest::mousePress(palette.viewport(), Qt::LeftButton, {}, palette.ButtonRect({0, 0}).center());
  QTest::mouseRelease(palette.viewport(), Qt::LeftButton, {}, palette.ButtonRect({0, 1}).center());
  EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(ToolPaletteTest, CaptionClickFoldsAndUnfolds) {
  palette.verticalScrollBar()->setValue(0);
  const int unfolded = palette.ContentHeight();
  Click(palette.CaptionRect(0).center());
  EXPECT_TRUE(palette.Category(0).Collapsed);
  EXPECT_TRUE(palette.ButtonRect({0, 0}).isEmpty());
  EXPECT_EQ(palette.CaptionRect(1).top(), TToolPalette::CaptionHeight);
  EXPECT_LT(palette.ContentHeight(), unfolded);
  EXPECT_TRUE(clicked.empty());
  Click(palette.CaptionRect(0).center());
  EXPECT_FALSE(palette.Category(0).Collapsed);
  EXPECT_EQ(palette.ContentHeight(), unfolded);
}

TEST_F(ToolPaletteTest, ScrollsWhenTallerThanItsWindow) {
  const QScrollBar* bar = palette.verticalScrollBar();
  EXPECT_EQ(bar->maximum(), palette.ContentHeight() - palette.viewport()->height());
  palette.EnsureVisible({1, 3});
  EXPECT_TRUE(palette.viewport()->rect().contains(palette.ButtonRect({1, 3})));
  EXPECT_GT(bar->value(), 0);
}

TEST_F(ToolPaletteTest, ButtonHintIsTheToolTip) {
  palette.verticalScrollBar()->setValue(0);
  const QPoint at = palette.ButtonRect({0, 2}).center();
  QHelpEvent help(QEvent::ToolTip, at, palette.viewport()->mapToGlobal(at));
  QApplication::sendEvent(palette.viewport(), &help);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("hint a2"));
  QToolTip::hideText();
}

TEST(ColorBox, ListsNamedColoursAndStartsBlack) {
  TColorBox box;
  EXPECT_EQ(box.Selected(), clBlack);
  EXPECT_EQ(box.itemText(box.currentIndex()), QStringLiteral("黑色"));
  EXPECT_EQ(box.itemText(box.IndexOfColor(clMoneyGreen)), QStringLiteral("钞票绿"));
  EXPECT_EQ(box.itemText(box.IndexOfColor(clBtnFace)), QStringLiteral("按钮表面"));
  EXPECT_EQ(box.itemText(box.IndexOfColor(clNone)), QStringLiteral("无"));
  EXPECT_EQ(box.itemText(box.IndexOfColor(clDefault)), QStringLiteral("默认"));
  EXPECT_EQ(box.itemText(box.CustomIndex()), QStringLiteral("自定义…"));
  // Every entry has a name of its own.
  QSet<QString> names;
  for (int i = 0; i < box.count(); ++i) names.insert(box.itemText(i));
  EXPECT_EQ(names.size(), box.count());
  EXPECT_EQ(box.count(), 1 + 20 + 30 + 2);
}

TEST(ColorBox, CustomEntryAsksForAColourAndCancelRestores) {
  TColorBox box;
  int changes = 0;
  box.OnChange = [&](TColorBox*) { ++changes; };
  QColor offered;
  bool accept = true;
  box.SetColorChooser([&](QColor& Color) {
    offered = Color;
    Color = QColor(0x12, 0x34, 0x56);
    return accept;
  });
  box.setCurrentIndex(box.CustomIndex());
  emit box.activated(box.CustomIndex());
  EXPECT_EQ(box.Selected(), RGBColor(0x12, 0x34, 0x56));
  EXPECT_EQ(changes, 1);

  const int blue = box.IndexOfColor(clBlue);
  box.setCurrentIndex(blue);
  emit box.activated(blue);
  EXPECT_EQ(changes, 2);
  accept = false;
  box.setCurrentIndex(box.CustomIndex());
  emit box.activated(box.CustomIndex());
  EXPECT_EQ(offered, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(box.Selected(), clBlue);
  EXPECT_EQ(changes, 2);
}

TEST(ColorBox, SetSelectedOfAnUnlistedColourUsesTheCustomEntry) {
  TColorBox box;
  box.SetSelected(RGBColor(1, 2, 3));
  EXPECT_EQ(box.currentIndex(), box.CustomIndex());
  EXPECT_EQ(box.Selected(), RGBColor(1, 2, 3));
  box.SetSelected(clRed);
  EXPECT_EQ(box.Selected(), clRed);
}

TEST(FileDialogFilters, BecomeNameFilters) {
  EXPECT_EQ(NameFiltersOf(QStringLiteral("户型图 (*.kvf)|*.kvf|All Files (*.*)|*.*")),
            QStringList({QStringLiteral("户型图 (*.kvf)"), QStringLiteral("All Files (*)")}));
  EXPECT_EQ(NameFiltersOf(QStringLiteral("JPEG 文件|*.jpg|位图文件 (*.bmp)|*.bmp")),
            QStringList({QStringLiteral("JPEG 文件 (*.jpg)"), QStringLiteral("位图文件 (*.bmp)")}));
  EXPECT_EQ(NameFiltersOf(QStringLiteral("Pictures|*.bmp;*.jpg")),
            QStringList({QStringLiteral("Pictures (*.bmp *.jpg)")}));
}

// Answers the next modal file dialog: picks Name (and ticks its
// read-only box, when it has one).
void AnswerFileDialog(const QString& Name, bool TickReadOnly, int Tries = 100) {
  QTimer::singleShot(50, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (Tries > 0) AnswerFileDialog(Name, TickReadOnly, Tries - 1);
      return;
    }
    if (auto* box = dialog->findChild<QCheckBox*>()) box->setChecked(TickReadOnly);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name) return dialog->reject();
    name->setText(Name);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

TEST(FileDialog, KeepsTheChosenNameFilterAndReadOnlyBox) {
  QTemporaryDir dir;
  const QString plan = dir.filePath(QStringLiteral("a.kvf"));
  QFile(plan).open(QIODevice::WriteOnly);
  TFileDialog open(fdOpen, QStringLiteral("Open Graph"), QStringLiteral("户型图 (*.kvf)|*.kvf|All Files (*.*)|*.*"),
                   QStringLiteral("sgp"), QString());
  open.Options().ReadOnlyBox = true;
  AnswerFileDialog(plan, true);
  ASSERT_TRUE(open.Execute(nullptr));
  EXPECT_EQ(open.FileName(), plan);
  EXPECT_EQ(open.FilterIndex(), 1);
  EXPECT_TRUE(open.Options().ReadOnlyChecked);

  TFileDialog save(fdSave, QStringLiteral("保存户型图为"), QStringLiteral("JPEG 文件|*.jpg|位图文件 (*.bmp)|*.bmp"),
                   QStringLiteral("sgp"), QStringLiteral("未命名"));
  save.SetFilterIndex(2);
  AnswerFileDialog(dir.filePath(QStringLiteral("out.bmp")), false);
  ASSERT_TRUE(save.Execute(nullptr));
  EXPECT_EQ(save.FileName(), dir.filePath(QStringLiteral("out.bmp")));
  EXPECT_EQ(save.FilterIndex(), 2);
}

TEST(HelpPage, MarkdownSubsetBecomesHtml) {
  const QString html =
      MarkdownToHtml(QStringLiteral("# Title\n\nSome **bold** text with `a<b>` and [link](http://x/y).\ncontinued\n\n"
                                    "- one\n- two\n  more\n\n1. first\n2. second\n\n```\nif (a < b) {}\n```\n\n"
                                    "| A | B |\n|---|---|\n| `c` | d |\n#not heading\n"));
  EXPECT_TRUE(html.contains(QStringLiteral("<h1>Title</h1>")));
  EXPECT_TRUE(
      html.contains(QStringLiteral("<p>Some <strong>bold</strong> text with <code>a&lt;b&gt;</code> and <a "
                                   "href=\"http://x/y\">link</a>. continued</p>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<ul>\n<li>one</li>\n<li>two more</li>\n</ul>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<ol>\n<li>first</li>\n<li>second</li>\n</ol>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<pre><code>if (a &lt; b) {}</code></pre>")));
  EXPECT_TRUE(
      html.contains(QStringLiteral("<tr><th>A</th><th>B</th></tr>\n<tr><td><code>c</code></td><td>d</td></tr>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<p>#not heading</p>")));
}

TEST(HelpPage, PageCarriesTitleAndStyle) {
  const QString page = HtmlPage(QStringLiteral("帮助 <1>"), QStringLiteral("body{}"), QStringLiteral("text"));
  EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
  EXPECT_TRUE(page.contains(QStringLiteral("<title>帮助 &lt;1&gt;</title>")));
  EXPECT_TRUE(page.contains(QStringLiteral("<style>\nbody{}</style>")));
  EXPECT_TRUE(page.contains(QStringLiteral("<body>\n<p>text</p>\n</body>")));
}

}  // namespace
