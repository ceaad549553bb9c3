#include <gtest/gtest.h>

#include "CompatibleCanvas.h"
#include "TextFit.h"

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString Mark(const TCanvas& Canvas) {
  return Canvas.HasGlyph(QChar(0x2026)) ? QString(QChar(0x2026)) : QStringLiteral("...");
}

class TextFitTest : public ::testing::Test {
 protected:
  int Width(const QString& s) const { return Canvas.TextWidth(s); }
  int LineHeight() const { return Canvas.TextHeight(QStringLiteral(" ")); }
  QString Break(const QString& s, int maxWidth) { return BreakTextLines(Canvas, s, maxWidth); }
  QString Fit(const QString& s, int width, int height) { return FitTextToRect(Canvas, s, TRect(0, 0, width, height)); }

  TCompatibleCanvas Canvas;
};

}  // namespace

TEST_F(TextFitTest, BreakTextLinesTrimsSpacesAndKeepsFittingText) {
  EXPECT_EQ(Break(QString(), 100), QString());
  EXPECT_EQ(Break(QStringLiteral("    "), 100), QString());
  EXPECT_EQ(Break(QStringLiteral("  aaa bbb  "), 1000), QStringLiteral("aaa bbb"));
}

TEST_F(TextFitTest, BreakTextLinesWrapsAtSpacesAndBreakCharacters) {
  // "aaa " fits, "aaa a" does not: the line breaks at the space.
  EXPECT_EQ(Break(QStringLiteral("aaa aa"), Width(QStringLiteral("aaa "))), QStringLiteral("aaa") + CRLF + "aa");
  // Every space at the break goes, none starts the next line.
  EXPECT_EQ(Break(QStringLiteral("aaa     aa"), Width(QStringLiteral("aaa "))), QStringLiteral("aaa") + CRLF + "aa");
  // The break character stays on the first line.
  EXPECT_EQ(Break(QStringLiteral("ab-cd"), Width(QStringLiteral("ab-"))), QStringLiteral("ab-") + CRLF + "cd");
  EXPECT_EQ(Break(QStringLiteral("ab/cd"), Width(QStringLiteral("ab/c")) - 1), QStringLiteral("ab/") + CRLF + "cd");
  // Overflow right at a tab breaks before it.
  EXPECT_TRUE(Break(QStringLiteral("aaa\tbbb"), Width(QStringLiteral("aaa"))).startsWith(QStringLiteral("aaa") + CRLF));
}

TEST_F(TextFitTest, BreakTextLinesCutsLongWordsAndAlwaysTakesTheFirstCharacter) {
  EXPECT_EQ(Break(QStringLiteral("abc"), 0), QStringLiteral("a") + CRLF + "b" + CRLF + "c");

  const QString word = QStringLiteral("abcdefghijklmnop");
  const int maxWidth = Width(QStringLiteral("abcd"));
  QStringList lines = Break(word, maxWidth).split(CRLF);
  ASSERT_GT(lines.size(), 1);
  EXPECT_EQ(lines.join(QString()), word);
  EXPECT_EQ(lines[0], QStringLiteral("abcd"));
  for (const QString& line : lines) EXPECT_LE(Width(line), maxWidth) << line.toStdString();
  // Each line is as long as the width allows.
  for (int i = 0; i + 1 < lines.size(); ++i)
    EXPECT_GT(Width(lines[i] + lines[i + 1][0]), maxWidth) << lines[i].toStdString();
}

TEST_F(TextFitTest, BreakTextLinesNeverSplitsASurrogatePair) {
  const QString face = QString::fromUcs4(U"\U0001F600");
  EXPECT_EQ(Break(face + face + face, 0), face + CRLF + face + CRLF + face);
}

TEST_F(TextFitTest, BreakTextLinesHandlesLineEnds) {
  EXPECT_EQ(Break(QStringLiteral("a\r\nb"), 1000), QStringLiteral("a\r\nb"));
  EXPECT_EQ(Break(QStringLiteral("a\n\rb"), 1000), QStringLiteral("a\r\nb"));
  EXPECT_EQ(Break(QStringLiteral("a\nb"), 1000), QStringLiteral("a\r\nb"));
  EXPECT_EQ(Break(QStringLiteral("a\n\nb"), 1000), QStringLiteral("a\r\n\r\nb"));
  EXPECT_EQ(Break(QStringLiteral("a\r\rb"), 1000), QStringLiteral("a\r\n\r\nb"));
  EXPECT_EQ(Break(QStringLiteral("a  \r\n   b"), 1000), QStringLiteral("a\r\nb"));
  // A final line end survives as a trailing CR LF.
  EXPECT_EQ(Break(QStringLiteral("a\n"), 1000), QStringLiteral("a\r\n"));
  EXPECT_EQ(Break(QStringLiteral("a\r\n"), 1000), QStringLiteral("a\r\n"));
  EXPECT_EQ(Break(QStringLiteral("\n"), 1000), QStringLiteral("\r\n"));
}

TEST_F(TextFitTest, FitTextToRectKeepsWhatFits) {
  const int width = Width(QStringLiteral("aaa "));
  EXPECT_EQ(Fit(QStringLiteral("aaa aa"), width, 2 * LineHeight()), QStringLiteral("aaa") + CRLF + "aa");
  EXPECT_EQ(Fit(QStringLiteral("aaa"), width, LineHeight()), QStringLiteral("aaa"));
  EXPECT_EQ(Fit(QString(), width, LineHeight()), QString());
}

TEST_F(TextFitTest, FitTextToRectLowerThanOneLineIsEmpty) {
  EXPECT_EQ(Fit(QStringLiteral("aaa bbb"), 1000, LineHeight() - 1), QString());
  EXPECT_EQ(Fit(QStringLiteral("aaa"), 1000, 0), QString());
}

TEST_F(TextFitTest, FitTextToRectMarksTheLastKeptLine) {
  const QString mark = Mark(Canvas);
  const QString text = QStringLiteral("aaa\nbbb\nccc");
  EXPECT_EQ(Fit(text, 1000, 2 * LineHeight() + LineHeight() / 2), QStringLiteral("aaa") + CRLF + "bbb" + mark);

  // Too narrow for the whole line and the mark: characters before the mark
  // go until it fits.
  const QString same = QStringLiteral("bbb\nbbb\nbbb");
  const int width = Width(QStringLiteral("bbb"));
  QString expected = QStringLiteral("bbb") + mark;
  while (Width(expected) > width && expected.size() > mark.size())
    expected.remove(expected.size() - mark.size() - 1, 1);
  EXPECT_EQ(Fit(same, width, 2 * LineHeight()), QStringLiteral("bbb") + CRLF + expected);
  EXPECT_LT(expected.size(), 3 + mark.size());
}

TEST_F(TextFitTest, FitTextToRectNeverDropsTheMarkItself) {
  EXPECT_EQ(Fit(QStringLiteral("abc def"), 1, LineHeight()), Mark(Canvas));
}

TEST_F(TextFitTest, FitTextToRectCountsEmptyLinesAndDropsLineEndsAtTheCut) {
  const QString mark = Mark(Canvas);
  // The empty line takes a line's height; the cut before "b" leaves "a".
  EXPECT_EQ(Fit(QStringLiteral("a\n\nb"), 1000, 2 * LineHeight()), QStringLiteral("a") + mark);
  EXPECT_EQ(Fit(QStringLiteral("a\n\nb"), 1000, 3 * LineHeight()), QStringLiteral("a\r\n\r\nb"));
  // A final line end adds no line of its own.
  EXPECT_EQ(Fit(QStringLiteral("a\n"), 1000, LineHeight()), QStringLiteral("a\r\n"));
}
