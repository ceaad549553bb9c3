// The same plan built in Qt's general-purpose graphics scene, for side-by-
// side figures: walls become path items with the same pens, pictures pixmap
// items with the same pixels, labels text items in the same font and place.
// Every item is selectable, as every plan object is.
#pragma once

#include <QGraphicsScene>
#include <QPainterPath>
#include <unordered_map>

class QGraphicsItem;
class QGraphicsPathItem;
class TGraphEditor;
class TGraphObject;
class TGraphLink;

class TSceneMirror {
 public:
  // Adds one item per object of Graph, in the graph's drawing order.
  explicit TSceneMirror(TGraphEditor& Graph);
  TSceneMirror(const TSceneMirror&) = delete;
  TSceneMirror& operator=(const TSceneMirror&) = delete;

  QGraphicsScene& Scene() { return fScene; }
  QGraphicsItem* ItemOf(const TGraphObject* Object) const;

  // Moves the node's item by (dX, dY) and drags the hooked ends of its walls
  // along, as the control's links follow their nodes.
  void MoveNode(const TGraphObject* Node, double dX, double dY);

 private:
  QGraphicsPathItem* AddWall(const TGraphLink& Link);
  QGraphicsItem* AddPicture(const TGraphObject& Node);
  QGraphicsItem* AddLabel(const TGraphObject& Node);

  QGraphicsScene fScene;
  std::unordered_map<const TGraphObject*, QGraphicsItem*> fItems;
  TGraphEditor& fGraph;
};
