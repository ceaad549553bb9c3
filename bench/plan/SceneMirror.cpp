#include "SceneMirror.h"

#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>

#include "Color.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "Picture.h"
#include "PlanObjects.h"

TSceneMirror::TSceneMirror(TGraphEditor& Graph) : fGraph(Graph) {
  for (TGraphObject* o : Graph.Objects()) {
    QGraphicsItem* item = nullptr;
    if (o->IsLink())
      item = AddWall(*static_cast<TGraphLink*>(o));
    else if (o->InheritsFrom(&TZyTextBoxNode::ClassInfo))
      item = AddLabel(*o);
    else
      item = AddPicture(*o);
    if (!item) continue;
    item->setFlag(QGraphicsItem::ItemIsSelectable);
    fItems.emplace(o, item);
  }
}

QGraphicsItem* TSceneMirror::ItemOf(const TGraphObject* Object) const {
  auto it = fItems.find(Object);
  return it == fItems.end() ? nullptr : it->second;
}

QGraphicsPathItem* TSceneMirror::AddWall(const TGraphLink& Link) {
  const TPoints& points = Link.Polyline();
  if (points.empty()) return nullptr;
  QPainterPath path(QPointF(points[0].X, points[0].Y));
  for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i].X, points[i].Y);
  int width = Link.Pen()->Width();
  // The same pens the control's canvas uses: round ends for wide lines.
  QPen pen(ToQColor(Link.Pen()->Color()), width, Qt::SolidLine, width > 1 ? Qt::RoundCap : Qt::FlatCap,
           width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  return fScene.addPath(path, pen);
}

QGraphicsItem* TSceneMirror::AddPicture(const TGraphObject& Object) {
  const auto& node = static_cast<const TGraphNode&>(Object);
  TGraphic* graphic = node.Background()->Graphic();
  if (!graphic) return nullptr;
  QGraphicsPixmapItem* item = fScene.addPixmap(QPixmap::fromImage(graphic->ToImage()));
  item->setPos(node.Left(), node.Top());
  return item;
}

QGraphicsItem* TSceneMirror::AddLabel(const TGraphObject& Object) {
  const auto& node = static_cast<const TGraphNode&>(Object);
  QGraphicsSimpleTextItem* item = fScene.addSimpleText(node.TextToShow(), node.Font()->ToQFont(1.0));
  item->setPos(node.TextRect().Left, node.TextRect().Top);
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
