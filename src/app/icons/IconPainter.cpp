#include "IconPainter.h"

#include <QLineF>
#include <QPainterPath>
#include <vector>

namespace {

QPointF Centre(double x, double y) { return QPointF(x + 0.5, y + 0.5); }

QRectF CentreRect(double x, double y, double w, double h) { return QRectF(x + 0.5, y + 0.5, w - 1, h - 1); }

QBrush FillBrush(const QColor& fill) { return fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush); }

QPolygonF Centres(const QPolygonF& points) { return points.translated(0.5, 0.5); }

}  // namespace

TIconPainter::TIconPainter(QImage& image) : fPainter(&image) {}

void TIconPainter::Pen(const QColor& color, double width, bool smooth) {
  fPainter.setRenderHint(QPainter::Antialiasing, smooth);
  if (!color.isValid()) {
    fPainter.setPen(Qt::NoPen);
    return;
  }
  fPainter.setPen(
      QPen(color, width, Qt::SolidLine, smooth ? Qt::RoundCap : Qt::SquareCap, smooth ? Qt::RoundJoin : Qt::MiterJoin));
}

void TIconPainter::Box(int x, int y, int w, int h, const QColor& outline, const QColor& fill) {
  if (fill.isValid()) Fill(x, y, w, h, fill);
  Pen(outline, 1, false);
  fPainter.setBrush(Qt::NoBrush);
  fPainter.drawRect(QRect(x, y, w - 1, h - 1));
}

void TIconPainter::Fill(int x, int y, int w, int h, const QColor& color) {
  fPainter.fillRect(QRect(x, y, w, h), color);
}

void TIconPainter::Pixel(int x, int y, const QColor& color) { Fill(x, y, 1, 1, color); }

void TIconPainter::Line(double x1, double y1, double x2, double y2, const QColor& color, double width) {
  Pen(color, width, false);
  fPainter.drawLine(Centre(x1, y1), Centre(x2, y2));
}

void TIconPainter::SmoothLine(double x1, double y1, double x2, double y2, const QColor& color, double width) {
  Pen(color, width, true);
  fPainter.drawLine(Centre(x1, y1), Centre(x2, y2));
}

void TIconPainter::Polygon(const QPolygonF& points, const QColor& outline, const QColor& fill, bool smooth) {
  Pen(outline, 1, smooth);
  fPainter.setBrush(FillBrush(fill));
  fPainter.drawPolygon(Centres(points));
}

void TIconPainter::Ellipse(double x, double y, double w, double h, const QColor& outline, const QColor& fill,
                           double width) {
  Pen(outline, width, true);
  fPainter.setBrush(FillBrush(fill));
  fPainter.drawEllipse(CentreRect(x, y, w, h));
}

void TIconPainter::RoundBox(double x, double y, double w, double h, double radius, const QColor& outline,
                            const QColor& fill) {
  Pen(outline, 1, true);
  fPainter.setBrush(FillBrush(fill));
  fPainter.drawRoundedRect(CentreRect(x, y, w, h), radius, radius);
}

void TIconPainter::Arc(double cx, double cy, double radius, double startDeg, double spanDeg, const QColor& color,
                       double width) {
  const QPointF c = Centre(cx, cy);
  const QRectF bounds(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
  QPainterPath path;
  path.arcMoveTo(bounds, startDeg);
  path.arcTo(bounds, startDeg, spanDeg);
  Pen(color, width, true);
  fPainter.setBrush(Qt::NoBrush);
  fPainter.drawPath(path);
}

void TIconPainter::Arrowhead(double x, double y, double dx, double dy, double length, double halfWidth,
                             const QColor& color) {
  QLineF axis(0, 0, dx, dy);
  if (axis.length() == 0) return;
  axis = axis.unitVector();
  const QPointF along = axis.p2() * length;
  const QPointF across(-axis.dy() * halfWidth, axis.dx() * halfWidth);
  const QPointF tip = Centre(x, y);
  Pen(QColor(), 1, true);
  fPainter.setBrush(color);
  fPainter.drawPolygon(QPolygonF({tip + along * 0.15, tip - along + across, tip - along - across}));
}

void TIconPainter::Text(const QRectF& box, const QString& text, const QColor& color, int pixelSize, bool bold) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  fPainter.setRenderHint(QPainter::TextAntialiasing, true);
  fPainter.setFont(font);
  fPainter.setPen(color);
  fPainter.drawText(box, Qt::AlignCenter, text);
}

QImage BlankIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void OutlineShape(QImage& image, const QColor& fill, const QColor& outline) {
  const int w = image.width();
  const int h = image.height();
  std::vector<bool> inside(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) inside[size_t(y) * w + x] = qAlpha(image.pixel(x, y)) != 0;
  }
  auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && inside[size_t(y) * w + x]; };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (in(x, y)) {
        image.setPixelColor(x, y, fill);
      } else if (in(x - 1, y) || in(x + 1, y) || in(x, y - 1) || in(x, y + 1)) {
        image.setPixelColor(x, y, outline);
      }
    }
  }
}
