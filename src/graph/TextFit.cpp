#include "TextFit.h"

#include <QPainter>
#include <QWidget>

#include "Canvas.h"
#include "Geometry.h"

namespace {

const QChar CR = QLatin1Char('\r');
const QChar LF = QLatin1Char('\n');
const QChar Space = QLatin1Char(' ');
const QChar Tab = QLatin1Char('\t');
const QChar Ellipsis = QChar(0x2026);
const QString LineBreak = QStringLiteral("\r\n");

bool IsLineEnd(QChar C) { return C == CR || C == LF; }

bool IsBreakChar(QChar C) {
  static const QString BreakChars = QStringLiteral(" !),-./:;>?\\]}");
  return BreakChars.contains(C);
}

// A surrogate pair is one character: never cut between its halves.
int CharLength(const QString& Text, int Index) {
  bool pair = Text[Index].isHighSurrogate() && Index + 1 < Text.size() && Text[Index + 1].isLowSurrogate();
  return pair ? 2 : 1;
}

int SkipSpaces(const QString& Text, int Index) {
  while (Index < Text.size() && Text[Index] == Space) ++Index;
  return Index;
}

// Skips the line end at Index; CR LF and LF CR count as one, two equal ones
// as two.
int SkipLineEnd(const QString& Text, int Index) {
  QChar first = Text[Index++];
  if (Index < Text.size() && IsLineEnd(Text[Index]) && Text[Index] != first) ++Index;
  return Index;
}

// Where an overflowing line breaks: after the last break character between
// Start and Last, else just before Overflow.
int BreakPoint(const QString& Text, int Start, int Last, int Overflow) {
  for (int i = Last; i >= Start; --i)
    if (IsBreakChar(Text[i])) return i;
  return Overflow - 1;
}

struct TLineScan {
  int Last;  // last character kept; below the start when none
  int Stop;  // where scanning stopped
};

TLineScan ScanLine(const TCanvas& Canvas, const QString& Text, int Start, int MaxWidth) {
  int last = Start - 1;
  int p = Start;
  while (p < Text.size() && !IsLineEnd(Text[p])) {
    int length = CharLength(Text, p);
    if (last < Start || Canvas.TextWidth(Text.mid(Start, p + length - Start)) <= MaxWidth) {
      last = p + length - 1;
      p += length;
      continue;
    }
    if (Text[p] != Space && Text[p] != Tab) last = BreakPoint(Text, Start, last, p);
    break;
  }
  return {last, p};
}

// Index of the first line whose bottom lies below MaxHeight, or -1 when all
// lines fit.
int FirstOverflowingLine(const TCanvas& Canvas, const QString& Text, int MaxHeight) {
  int64_t bottom = 0;
  int pos = 0;
  for (;;) {
    int end = pos;
    while (end < Text.size() && !IsLineEnd(Text[end])) ++end;
    QString line = Text.mid(pos, end - pos);
    bottom += Canvas.TextHeight(line.isEmpty() ? QString(Space) : line);
    if (bottom > MaxHeight) return pos;
    if (end >= Text.size()) return -1;
    pos = SkipLineEnd(Text, end);
    if (pos >= Text.size()) return -1;
  }
}

QString TruncationMark(const TCanvas& Canvas) {
  return Canvas.HasGlyph(Ellipsis) ? QString(Ellipsis) : QStringLiteral("...");
}

// Line with the mark appended, shortened before the mark until it fits.
QString MarkTruncated(const TCanvas& Canvas, QString Line, int MaxWidth) {
  const QString mark = TruncationMark(Canvas);
  Line += mark;
  while (Canvas.TextWidth(Line) > MaxWidth && Line.size() > mark.size()) {
    int at = Line.size() - mark.size() - 1;
    bool pair = at > 0 && Line[at].isLowSurrogate() && Line[at - 1].isHighSurrogate();
    Line.remove(pair ? at - 1 : at, pair ? 2 : 1);
  }
  return Line;
}

TRect ToTRect(const QRect& R) { return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()}; }

struct TPainterStateGuard {
  QPainter& Painter;
  explicit TPainterStateGuard(QPainter& P) : Painter(P) { Painter.save(); }
  ~TPainterStateGuard() { Painter.restore(); }
  TPainterStateGuard(const TPainterStateGuard&) = delete;
  TPainterStateGuard& operator=(const TPainterStateGuard&) = delete;
};

// Renders Area of Widget (in Widget's coordinates) so that Widget's point
// Origin lands on device pixel (0, 0).
void RenderArea(QPainter& Painter, QWidget& Widget, const QRect& Area, const QPoint& Origin,
                QWidget::RenderFlags Flags) {
  if (Area.isEmpty()) return;
  TPainterStateGuard guard(Painter);
  Widget.render(&Painter, Area.topLeft() - Origin, QRegion(Area), Flags);
}

}  // namespace

QString BreakTextLines(TCanvas& Canvas, const QString& Text, int MaxWidth) {
  QString result;
  bool firstLine = true;
  int pos = SkipSpaces(Text, 0);
  while (pos < Text.size()) {
    // Text[pos] is never a space here, so every line keeps at least its first
    // character and pos always advances.
    const int start = pos;
    TLineScan scan = ScanLine(Canvas, Text, start, MaxWidth);
    int last = scan.Last;
    while (last >= start && Text[last] == Space) --last;
    QString line = last >= start ? Text.mid(start, last - start + 1) : QString();
    if (scan.Stop < Text.size() && IsLineEnd(Text[scan.Stop])) {
      pos = SkipLineEnd(Text, scan.Stop);
      if (pos >= Text.size()) line += LineBreak;
    } else if (scan.Stop < Text.size() && Text[scan.Stop] == Space) {
      pos = scan.Stop;
    } else {
      pos = last + 1;
    }
    pos = SkipSpaces(Text, pos);
    if (!firstLine) result += LineBreak;
    result += line;
    firstLine = false;
  }
  return result;
}

QString FitTextToRect(TCanvas& Canvas, const QString& Text, const TRect& Rect) {
  const int width = Rect.Width();
  QString result = BreakTextLines(Canvas, Text, width);
  int cut = FirstOverflowingLine(Canvas, result, Rect.Height());
  if (cut < 0) return result;
  result.truncate(cut);
  while (!result.isEmpty() && IsLineEnd(result.back())) result.chop(1);
  if (result.isEmpty()) return {};
  int lastLine = result.size();
  while (lastLine > 0 && !IsLineEnd(result[lastLine - 1])) --lastLine;
  QString line = result.mid(lastLine);
  result.truncate(lastLine);
  return result + MarkTruncated(Canvas, line, width);
}

void PaintParentBackground(QWidget* Control, TCanvas& Canvas, int X, int Y) {
  if (!Control || Control->isWindow()) return;
  QWidget* parent = Control->parentWidget();
  QPainter* painter = Canvas.Painter();
  if (!parent || !painter) return;
  const QRect bounds = Control->geometry();
  const QPoint origin(X + bounds.left(), Y + bounds.top());
  // The parent alone: its children would include Control itself.
  RenderArea(*painter, *parent, bounds.intersected(parent->rect()), origin, QWidget::DrawWindowBackground);
  for (QObject* child : parent->children()) {
    if (child == Control) break;  // the rest is stacked above it
    auto* sibling = qobject_cast<QWidget*>(child);
    if (!sibling || sibling->isWindow() || !sibling->isVisibleTo(parent)) continue;
    if (!RectsTouch(ToTRect(sibling->geometry()), ToTRect(bounds))) continue;
    QRect area = bounds.translated(-sibling->pos()).intersected(sibling->rect());
    RenderArea(*painter, *sibling, area, origin - sibling->pos(),
               QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
}
