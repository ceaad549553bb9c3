// The pen picture of the top panel and the window icon.
#include <QPainterPath>

#include "IconList.h"
#include "IconPainter.h"

using namespace icon_colors;

namespace {

constexpr int kPenPictureSize = 24;
constexpr int kWindowIconSizes[] = {16, 24, 32, 48, 64, 256};

const QColor kWall(0x34, 0x49, 0x5E);
const QColor kGlass(0x9F, 0xC8, 0xF0);

// The plan is designed on a 16 × 16 grid: outer walls two units thick,
// inner walls one, so at whole multiples of 16 every wall edge falls on a
// pixel edge.
void DrawPlan(QPainter& painter, int size, bool simplify = true) {
  painter.scale(size / 16.0, size / 16.0);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(QRectF(1, 1, 14, 14), kWall);
  painter.fillRect(QRectF(3, 3, 10, 10), Qt::white);
  // Two rooms at the top over the living room, each with its door.
  painter.fillRect(QRectF(8, 3, 1, 6), kWall);
  painter.fillRect(QRectF(3, 9, 2, 1), kWall);
  painter.fillRect(QRectF(7, 9, 4, 1), kWall);
  // Windows in the outer walls.
  painter.fillRect(QRectF(4, 1, 3, 2), kGlass);
  painter.fillRect(QRectF(10, 1, 2, 2), kGlass);
  painter.fillRect(QRectF(6, 13, 4, 2), kGlass);
  if (simplify && size < 32) {
    painter.fillRect(QRectF(4, 4, 2, 3), kYellow);  // the bed, as a spot of colour
    return;
  }
  QPen thin(kWall, size >= 128 ? 0.2 : 0.35);
  painter.setPen(thin);
  painter.setBrush(Qt::NoBrush);
  for (const QRectF& glass : {QRectF(4, 1, 3, 2), QRectF(10, 1, 2, 2), QRectF(6, 13, 4, 2)}) {
    painter.drawLine(QPointF(glass.left(), glass.center().y()), QPointF(glass.right(), glass.center().y()));
  }
  // Door swings: leaf and arc into each top room.
  for (double hinge : {5.0, 11.0}) {
    QPainterPath swing(QPointF(hinge, 9));
    swing.lineTo(hinge, 7);
    swing.arcTo(QRectF(hinge - 2, 7, 4, 4), 90, -90);
    painter.drawPath(swing);
  }
  // A bed with its pillow in the left room.
  painter.setBrush(kYellow);
  painter.drawRect(QRectF(3.6, 3.6, 3, 3.6));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(4.1, 3.9, 2, 0.9));
}

}  // namespace

QImage WindowIconImage(int Size) {
  QImage image = BlankIcon(Size);
  QPainter painter(&image);
  DrawPlan(painter, Size);
  return image;
}

void PaintWindowIcon(QPainter& Painter, int Size) {
  Painter.save();
  DrawPlan(Painter, Size, false);
  Painter.restore();
}

QImage PenPicture() {
  QImage image = BlankIcon(kPenPictureSize);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  // The stroke the pen has just drawn.
  painter.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(2, 22), QPointF(12, 22));
  // The pen itself, lying from lower left to upper right, tip on the stroke.
  painter.translate(3, 21);
  painter.rotate(-45);
  painter.setPen(QPen(kInk, 1));
  painter.setBrush(kTan);
  painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(5, -3), QPointF(5, 3)}));
  painter.setBrush(kInk);
  painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(2, -1.2), QPointF(2, 1.2)}));
  painter.setBrush(kYellow);
  painter.drawRect(QRectF(5, -3, 16, 6));
  painter.setPen(QPen(kDarkYellow, 1));
  painter.drawLine(QPointF(5.5, 0), QPointF(20.5, 0));
  painter.setPen(QPen(kInk, 1));
  painter.setBrush(kLightGrey);
  painter.drawRect(QRectF(21, -3, 2.5, 6));
  painter.setBrush(QColor(0xF0, 0x9C, 0xA8));
  painter.drawRoundedRect(QRectF(23.5, -3, 3, 6), 1, 1);
  return image;
}

QIcon WindowIcon() {
  QIcon icon;
  for (int size : kWindowIconSizes) icon.addPixmap(QPixmap::fromImage(WindowIconImage(size)));
  return icon;
}
