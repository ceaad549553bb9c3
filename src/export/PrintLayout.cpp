#include "PrintLayout.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "AtomicFile.h"
#include "Canvas.h"
#include "Exceptions.h"
#include "GraphEditor.h"
#include "IntMath.h"

namespace {
constexpr double kMarginMm = 10;
constexpr double kFooterMm = 12;
constexpr double kFooterGapMm = 3;
constexpr double kScaleBarMaxMm = 60;
constexpr double kBarHeightMm = 1.5;
constexpr double kTextMm = 2.5;
constexpr double kMapCellWMm = 3, kMapCellHMm = 2;

int Dots(double Mm, double DotsPerMm) { return int(std::lround(Mm * DotsPerMm)); }
}  // namespace

std::optional<int> ParsePrintScale(const QString& Text) {
  const QString t = Text.trimmed();
  if (t.compare(QLatin1String("fit"), Qt::CaseInsensitive) == 0) return 0;
  const QString number = t.startsWith(QLatin1String("1:")) ? t.mid(2) : t;
  bool ok = false;
  const int scale = number.toInt(&ok);
  if (!ok || std::find(std::begin(PrintScales), std::end(PrintScales), scale) == std::end(PrintScales))
    return std::nullopt;
  return scale;
}

QString PrintScaleText(int Scale) {
  return Scale == 0 ? QStringLiteral("适合页面") : QStringLiteral("1:%1").arg(Scale);
}

double MillimetresPerMetre(int Scale) { return 1000.0 / Scale; }

int ScaleBarMetres(double MmPerMetre, double MaxMm) {
  int best = 1;
  for (int m : {1, 2, 5, 10, 20, 50, 100})
    if (m * MmPerMetre <= MaxMm) best = m;
  return best;
}

TPrintLayout LayOutPrint(const TRect& Bounds, int Scale, int PageWidth, int PageHeight, int Resolution) {
  TPrintLayout layout;
  layout.DotsPerMm = Resolution / 25.4;
  const int margin = Dots(kMarginMm, layout.DotsPerMm);
  const int footer = Dots(kFooterMm, layout.DotsPerMm);
  const int gap = Dots(kFooterGapMm, layout.DotsPerMm);
  layout.Footer = QRect(margin, PageHeight - margin - footer, std::max(0, PageWidth - 2 * margin), footer);
  layout.Content =
      QRect(margin, margin, std::max(0, PageWidth - 2 * margin), std::max(0, PageHeight - 2 * margin - footer - gap));
  if (Scale <= 0 || layout.Content.isEmpty()) {
    layout.Tiles.push_back({Bounds, 0, 0});
    return layout;
  }
  // Whole plan pixels per page, so neighbouring pages meet exactly.
  const double mmPerPixel = double(PlanPixelMillimetres) / Scale;
  const int32_t tileW = std::max(1, int32_t(layout.Content.width() / layout.DotsPerMm / mmPerPixel));
  const int32_t tileH = std::max(1, int32_t(layout.Content.height() / layout.DotsPerMm / mmPerPixel));
  // Graph bounds reach their right and bottom pixel too.
  const int32_t planW = std::max(1, Bounds.Right - Bounds.Left + 1);
  const int32_t planH = std::max(1, Bounds.Bottom - Bounds.Top + 1);
  layout.Columns = Div(planW + tileW - 1, tileW);
  layout.Rows = Div(planH + tileH - 1, tileH);
  for (int r = 0; r < layout.Rows; ++r)
    for (int c = 0; c < layout.Columns; ++c) {
      const int32_t left = Bounds.Left + c * tileW, top = Bounds.Top + r * tileH;
      layout.Tiles.push_back(
          {{left, top, std::min(left + tileW, Bounds.Left + planW), std::min(top + tileH, Bounds.Top + planH)}, r, c});
    }
  return layout;
}

void PrintTile(TGraphEditor& Graph, TCanvas& Canvas, const TPrintLayout& Layout, const TPrintTile& Tile, int Scale) {
  // Device pixels per plan pixel = dots per inch × 20 mm / (25.4 mm × Scale),
  // kept as an integer ratio so the mapping stays exact.
  const int32_t resolution = int32_t(std::lround(Layout.DotsPerMm * 25.4));
  int32_t num = 10 * PlanPixelMillimetres * resolution, den = 254 * Scale;
  const int32_t g = std::gcd(num, den);
  num /= g;
  den /= g;
  const int32_t deviceW = MulDiv(Tile.Plan.Width(), num, den), deviceH = MulDiv(Tile.Plan.Height(), num, den);
  // A plan smaller than the page sits in its middle.
  QPoint origin = Layout.Content.topLeft();
  if (Layout.Columns == 1) origin.rx() += std::max(0, (Layout.Content.width() - deviceW) / 2);
  if (Layout.Rows == 1) origin.ry() += std::max(0, (Layout.Content.height() - deviceH) / 2);
  Canvas.SaveState();
  Canvas.SetDeviceClipRect(QRect(origin, QSize(deviceW, deviceH)).intersected(Layout.Content));
  Canvas.SetWindowOrg(Tile.Plan.TopLeft());
  Canvas.SetViewportOrg({origin.x(), origin.y()});
  Canvas.SetWindowExt({den, den});
  Canvas.SetViewportExt({num, num});
  Graph.Draw(Canvas);
  Canvas.RestoreState();
}

namespace {
QFont FooterFont(double DotsPerMm) {
  QFont font(QString::fromLatin1(DefaultFontName));
  font.setPixelSize(std::max(1, Dots(kTextMm, DotsPerMm)));
  return font;
}

// A bar of alternating black and white metre sections with the metres
// written under its ticks; answers the right end of what it drew.
int DrawScaleBar(QPainter& Painter, const TPrintLayout& Layout, double MmPerMetre) {
  const double dpm = Layout.DotsPerMm;
  const int metres = ScaleBarMetres(MmPerMetre, kScaleBarMaxMm);
  const int step = metres <= 5 ? 1 : metres / 5;
  const int left = Layout.Footer.left(), top = Layout.Footer.top() + Dots(1, dpm);
  const int height = Dots(kBarHeightMm, dpm);
  const auto x = [&](int Metre) { return left + int(std::lround(Metre * MmPerMetre * dpm)); };
  Painter.setPen(QPen(Qt::black, std::max(1, Dots(0.15, dpm))));
  for (int m = 0; m < metres; m += step) {
    Painter.setBrush((m / step) % 2 == 0 ? Qt::black : Qt::white);
    Painter.drawRect(QRect(QPoint(x(m), top), QPoint(x(m + step), top + height)));
  }
  Painter.setFont(FooterFont(dpm));
  const QFontMetrics metrics(Painter.font());
  const int baseline = top + height + Dots(1, dpm) + metrics.ascent();
  for (int m = 0; m <= metres; m += step) {
    const QString label = QString::number(m);
    Painter.drawText(QPoint(x(m) - metrics.horizontalAdvance(label) / 2, baseline), label);
  }
  const int unitLeft = x(metres) + metrics.horizontalAdvance(QString::number(metres)) / 2 + Dots(1.5, dpm);
  Painter.drawText(QPoint(unitLeft, baseline), QStringLiteral("m"));
  return unitLeft + metrics.horizontalAdvance(QStringLiteral("m"));
}

// The grid of pages with this one filled, so pages are put together in
// order without counting.
void DrawPageMap(QPainter& Painter, const TPrintLayout& Layout, const TPrintTile& Tile) {
  const double dpm = Layout.DotsPerMm;
  const int cw = Dots(kMapCellWMm, dpm), ch = Dots(kMapCellHMm, dpm);
  const int right = Layout.Footer.right(), top = Layout.Footer.top() + Dots(1, dpm);
  const int left = right - cw * Layout.Columns;
  Painter.setPen(QPen(Qt::black, std::max(1, Dots(0.15, dpm))));
  for (int r = 0; r < Layout.Rows; ++r)
    for (int c = 0; c < Layout.Columns; ++c) {
      Painter.setBrush(r == Tile.Row && c == Tile.Column ? Qt::darkGray : Qt::white);
      Painter.drawRect(QRect(left + c * cw, top + r * ch, cw, ch));
    }
}
}  // namespace

void PrintFooter(QPainter& Painter, const TPrintLayout& Layout, int Page, double MmPerMetre,
                 const TPrintOptions& Options) {
  Painter.save();
  Painter.setRenderHint(QPainter::Antialiasing, false);
  const int barRight = DrawScaleBar(Painter, Layout, MmPerMetre);
  const TPrintTile& tile = Layout.Tiles[size_t(Page)];
  const int pages = int(Layout.Tiles.size());
  const QDateTime date = Options.Date.isValid() ? Options.Date : QDateTime::currentDateTime();
  QStringList parts;
  if (!Options.DocumentName.isEmpty()) parts << Options.DocumentName;
  parts << date.toString(QStringLiteral("yyyy-MM-dd"));
  parts << (Options.Scale > 0 ? QStringLiteral("比例 %1").arg(PrintScaleText(Options.Scale))
                              : QStringLiteral("比例 适合页面"));
  QString order = QStringLiteral("第 %1/%2 页").arg(Page + 1).arg(pages);
  if (pages > 1) order += QStringLiteral("（第 %1 行，第 %2 列）").arg(tile.Row + 1).arg(tile.Column + 1);
  parts << order;
  const int mapWidth = pages > 1 ? Dots(kMapCellWMm, Layout.DotsPerMm) * Layout.Columns + Dots(3, Layout.DotsPerMm) : 0;
  const QRect text(barRight + Dots(6, Layout.DotsPerMm), Layout.Footer.top(),
                   std::max(0, Layout.Footer.right() - mapWidth - barRight - Dots(6, Layout.DotsPerMm)),
                   Layout.Footer.height());
  Painter.setFont(FooterFont(Layout.DotsPerMm));
  Painter.setPen(Qt::black);
  Painter.drawText(text, Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap, parts.join(QStringLiteral("  ")));
  if (pages > 1) DrawPageMap(Painter, Layout, tile);
  Painter.restore();
}

namespace {
// What one metre of plan measures on paper when the plan is fitted into
// the content area, as TGraphEditor::Print fits it.
double FittedMmPerMetre(TGraphEditor& Graph, const TPrintLayout& Layout) {
  const TRect g = Graph.GraphBounds();
  if (g.IsEmpty() || Layout.Content.isEmpty()) return MillimetresPerMetre(100);
  const double dotsPerPixel =
      std::min(double(Layout.Content.width()) / g.Width(), double(Layout.Content.height()) / g.Height());
  return dotsPerPixel / Layout.DotsPerMm * 1000.0 / PlanPixelMillimetres;
}
}  // namespace

namespace {
// Paper white over the page outside the plan's area. The PDF engine can
// lose the clip of a tile at a later state change, letting the edges of
// pictures that cross the tile's border show in the margins and footer.
void CoverOutside(QPainter& Painter, const QRect& Content, const QRect& Page) {
  QRegion outside = QRegion(Page).subtracted(QRegion(Content));
  Painter.save();
  Painter.setClipping(false);
  for (const QRect& r : outside) Painter.fillRect(r, Qt::white);
  Painter.restore();
}
}  // namespace

void PrintPages(TGraphEditor& Graph, QPagedPaintDevice& Device, const TPrintOptions& Options) {
  TCanvas canvas(&Device, TCanvasKind::Printer);
  if (!canvas.Painter()->isActive()) throw Exception(QStringLiteral("The printer cannot start printing"));
  const TPrintLayout layout =
      LayOutPrint(Graph.GraphBounds(), Options.Scale, Device.width(), Device.height(), Device.logicalDpiX());
  const double mmPerMetre = Options.Scale > 0 ? MillimetresPerMetre(Options.Scale) : FittedMmPerMetre(Graph, layout);
  // The canvas ends the job when it goes, also after a failure.
  for (size_t page = 0; page < layout.Tiles.size(); ++page) {
    if (page > 0) Device.newPage();
    if (Options.Scale > 0) {
      PrintTile(Graph, canvas, layout, layout.Tiles[page], Options.Scale);
      // The whole sheet, with the printer's own margins, in painter pixels,
      // and an inch to spare for what would hang over its edge.
      const int inch = Device.logicalDpiX();
      const QPageLayout sheet = Device.pageLayout();
      const QRect paper = sheet.fullRectPixels(inch)
                              .translated(-sheet.paintRectPixels(inch).topLeft())
                              .adjusted(-inch, -inch, inch, inch);
      CoverOutside(*canvas.Painter(), layout.Content, paper.united(QRect(0, 0, Device.width(), Device.height())));
    } else if (!layout.Content.isEmpty()) {
      const QRect& c = layout.Content;
      Graph.Print(canvas, TRect(c.left(), c.top(), c.left() + c.width(), c.top() + c.height()));
    }
    PrintFooter(*canvas.Painter(), layout, int(page), mmPerMetre, Options);
  }
}

void SavePlanAsPdf(TGraphEditor& Graph, const QString& FileName, const TPrintOptions& Options, const QString& Title) {
  // The page and resolution a PDF printer would use, so the file is what
  // printing to a file gives.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  TAtomicFile file(FileName);
  {
    QPdfWriter pdf(&file.Device());
    pdf.setTitle(Title);
    pdf.setResolution(printer.resolution());
    pdf.setPageLayout(printer.pageLayout());
    PrintPages(Graph, pdf, Options);
  }
  // The writer ignores failed writes; the file remembers them.
  file.Commit();
}
