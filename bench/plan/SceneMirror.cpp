#include "SceneMirror.h"

#include <QPen>

#include "Color.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "Picture.h"
#include "PlanObjects.h"
#include "SceneItems.h"

namespace {
// A flat's parent: no contents of its own, so painting and hit tests pass
// straight to its children.
class TFlatItem : public QGraphicsItem {
 public:
  TFlatItem() { setFlag(ItemHasNoContents); }
  QRectF boundingRect() const override { return {}; }
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}
};

QRectF ToQRectF(const TRect& r) { return QRectF(r.Left, r.Top, r.Width(), r.Height()); }
}  // namespace

TSceneMirror::TSceneMirror(TGraphEditor& Graph, bool Grouped, int ObjectsPerFlat) : fView(&fScene), fGraph(Graph) {
  QGraphicsItem* flat = nullptr;
  int index = 0;
  for (TGraphObject* o : Graph.Objects()) {
    if (Grouped && index++ % ObjectsPerFlat == 0) {
      flat = new TFlatItem;
      fScene.addItem(flat);
    }
    QGraphicsItem* item = nullptr;
    if (o->IsLink())
      item = AddWall(*static_cast<TGraphLink*>(o));
    else if (o->InheritsFrom(&TZyTextBoxNode::ClassInfo))
      item = AddLabel(*o);
    else
      item = AddPicture(*o);
    if (!item) continue;
    item->setFlag(QGraphicsItem::ItemIsSelectable);
    Place(item, flat);
    fItems.emplace(o, item);
  }
  fView.setFrameShape(QFrame::NoFrame);
  fView.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fView.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fView.setOptimizationFlags(QGraphicsView::DontSavePainterState | QGraphicsView::DontAdjustForAntialiasing);
  fView.setBackgroundBrush(ToQColor(Graph.Color()));
}

void TSceneMirror::Place(QGraphicsItem* Item, QGraphicsItem* Parent) {
  if (Parent)
    Item->setParentItem(Parent);
  else
    fScene.addItem(Item);
}

QGraphicsItem* TSceneMirror::ItemOf(const TGraphObject* Object) const {
  auto it = fItems.find(Object);
  return it == fItems.end() ? nullptr : it->second;
}

void TSceneMirror::ShowArea(const QRectF& Area, double Scale) {
  fView.setSceneRect(Area);
  fView.setTransform(QTransform::fromScale(Scale, Scale));
  fView.centerOn(Area.center());
}

int TSceneMirror::ItemsIn(const QRectF& Area) const {
  int count = 0;
  for (QGraphicsItem* item : fScene.items(Area, Qt::IntersectsItemBoundingRect))
    count += !(item->flags() & QGraphicsItem::ItemHasNoContents);
  return count;
}

QGraphicsItem* TSceneMirror::AddWall(const TGraphLink& Link) {
  const TPoints& points = Link.Polyline();
  if (points.empty()) return nullptr;
  QPainterPath path(QPointF(points[0].X, points[0].Y));
  for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i].X, points[i].Y);
  int width = Link.Pen()->Width();
  // The same pens the control's canvas uses: round ends for wide lines.
  QPen pen(ToQColor(Link.Pen()->Color()), width, Qt::SolidLine, width > 1 ? Qt::RoundCap : Qt::FlatCap,
           width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  // The wall's area reaches as far beyond its points as the control's does.
  const QRectF ends = path.controlPointRect(), area = ToQRectF(Link.VisualRect());
  QMarginsF margins(ends.left() - area.left(), ends.top() - area.top(), area.right() - ends.right(),
                    area.bottom() - ends.bottom());
  return new TWallItem(path, pen, Link.MarkerRadius(), margins);
}

QGraphicsItem* TSceneMirror::AddPicture(const TGraphObject& Object) {
  const auto& node = static_cast<const TGraphNode&>(Object);
  TGraphic* graphic = node.Background()->Graphic();
  if (!graphic) return nullptr;
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  QPixmap pixmap;
  if (bitmap) {
    QPixmap& shared = fPixmaps[bitmap->Image().constBits()];
    if (shared.isNull()) shared = QPixmap::fromImage(bitmap->Image());
    pixmap = shared;
  } else {
    pixmap = QPixmap::fromImage(graphic->ToImage());
  }
  const TRect bounds = node.BoundsRect();
  auto* item = new TPictureItem(pixmap, QRectF(0, 0, bounds.Width(), bounds.Height()));
  item->setPos(bounds.Left, bounds.Top);
  return item;
}

QGraphicsItem* TSceneMirror::AddLabel(const TGraphObject& Object) {
  const auto& node = static_cast<const TGraphNode&>(Object);
  const TRect box = node.BoundsRect(), text = node.TextRect();
  auto* item = new TLabelItem(node.TextToShow(), node.Font()->ToQFont(1.0),
                              QRectF(box.Left - text.Left, box.Top - text.Top, box.Width(), box.Height()));
  item->setPos(text.Left, text.Top);
  return item;
}

void TSceneMirror::MoveNode(const TGraphObject* Node, double dX, double dY) {
  QGraphicsItem* item = ItemOf(Node);
  if (!item) return;
  item->moveBy(dX, dY);
  auto* self = const_cast<TGraphObject*>(Node);
  auto follow = [&](TGraphObjectList& links, bool AtStart) {
    for (TGraphObject* link : links) {
      auto* wall = static_cast<QGraphicsPathItem*>(ItemOf(link));
      if (!wall) continue;
      QPainterPath path = wall->path();
      int index = AtStart ? 0 : path.elementCount() - 1;
      QPainterPath::Element e = path.elementAt(index);
      path.setElementPositionAt(index, e.x + dX, e.y + dY);
      wall->setPath(path);
    }
  };
  follow(self->LinkOutputList(), true);
  follow(self->LinkInputList(), false);
}
