// The live measure label drawn once and kept: it must look exactly as the
// label painted straight onto the plan, and follow the plan's font.
#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

#include "GraphEditor.h"
#include "GraphLink.h"
#include "MeasureLabel.h"

namespace {

// Paints a label the direct way, onto the widget in its paint event.
class TDirectLabel : public QWidget {
 public:
  explicit TDirectLabel(QString Text) : fText(std::move(Text)) { resize(300, 60); }
  QSize LabelSize() const { return fontMetrics().size(Qt::TextSingleLine, fText) + QSize(8, 4); }
  QImage Shown() { return grab(QRect(QPoint(0, 0), LabelSize())).toImage().convertToFormat(QImage::Format_RGB32); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::darkGreen);
    const QRect r(QPoint(0, 0), LabelSize());
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.setFont(font());
    painter.drawText(r, Qt::AlignCenter, fText);
  }

 private:
  QString fText;
};

QFont LargeBold() {
  QFont font;
  font.setPointSize(15);
  font.setBold(true);
  return font;
}

TEST(MeasureLabels, LookExactlyLikeTheLabelPaintedOnTheWidget) {
  for (const QFont& font : {QFont(), LargeBold()}) {
    for (const QString& text :
         {QStringLiteral("3.60 m  0°"), QStringLiteral("12.05 m  315°"), QStringLiteral("1.00 × 2.50 m")}) {
      TDirectLabel direct(text);
      direct.setFont(font);
      TMeasureLabels labels;
      const TMeasureLabels::TLabel& label = labels.Label(text, direct);
      EXPECT_EQ(label.Size, direct.LabelSize()) << text.toStdString();
      EXPECT_EQ(label.Image.convertToFormat(QImage::Format_RGB32), direct.Shown()) << text.toStdString();
    }
  }
}

TEST(MeasureLabels, KeepRecentTextsAndRedrawForAnotherFont) {
  QWidget widget;
  TMeasureLabels labels;
  const qint64 first = labels.Label(QStringLiteral("1.00 m  0°"), widget).Image.cacheKey();
  const QSize small = labels.Label(QStringLiteral("2.00 m  0°"), widget).Size;
  // Going back to a length shown a moment ago draws nothing new.
  EXPECT_EQ(labels.Label(QStringLiteral("1.00 m  0°"), widget).Image.cacheKey(), first);
  EXPECT_EQ(labels.Count(), 2);

  for (size_t i = 0; i < TMeasureLabels::Capacity; ++i) labels.Label(QString::number(i) + QStringLiteral(" m"), widget);
  EXPECT_EQ(size_t(labels.Count()), TMeasureLabels::Capacity);
  // The oldest label made room and is drawn afresh.
  EXPECT_NE(labels.Label(QStringLiteral("1.00 m  0°"), widget).Image.cacheKey(), first);

  widget.setFont(LargeBold());
  const TMeasureLabels::TLabel& large = labels.Label(QStringLiteral("2.00 m  0°"), widget);
  EXPECT_GT(large.Size.width(), small.width());
  EXPECT_GT(large.Size.height(), small.height());
  EXPECT_EQ(labels.Count(), 1);
}

TEST(MeasureLabels, TheControlShowsTheLabelBesideTheDraggedPoint) {
  TGraphEditor graph;
  graph.resize(400, 300);
  graph.show();
  graph.OnDragMeasure = [](TGraphEditor*, TGraphObject* Object, THitCode) {
    return QString::number(static_cast<TGraphLink*>(Object)->PointAt(1).X) + QStringLiteral(" m  0°");
  };
  TGraphLink* wall = graph.InsertLink(TPoints{{40, 100}, {140, 100}}, &TGraphLink::ClassInfo);
  ASSERT_NE(wall, nullptr);
  wall->SetSelected(true);
  wall->HandleMouseDown(mbLeft, ssLeft, {140, 100});
  ASSERT_TRUE(wall->Dragging());
  wall->HandleMouseMove(ssLeft, {180, 100});
  // The point lands on the grid.
  const TPoint moved = wall->PointAt(1);
  ASSERT_EQ(graph.DragMeasure(), QString::number(moved.X) + QStringLiteral(" m  0°"));
  const QRect place = graph.DragMeasureRect();
  const TPoint point = graph.GraphToClient(moved.X, moved.Y);
  EXPECT_EQ(place.topLeft(), QPoint(point.X + 16, point.Y + 8));

  TDirectLabel direct(graph.DragMeasure());
  direct.setFont(graph.viewport()->font());
  const QImage shown = graph.viewport()->grab(place).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, direct.Shown());
  int escape = Qt::Key_Escape;
  wall->HandleKeyDown(escape, 0);
  EXPECT_TRUE(graph.DragMeasure().isEmpty());
}

}  // namespace
