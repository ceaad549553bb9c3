// The same plan built in Qt's general-purpose graphics scene, for side-by-
// side figures: walls become path items with the same pens, pictures pixmap
// items sharing one pixmap per distinct picture, labels text items in the
// same font and place. Every item is selectable, as every plan object is.
// The scene comes flat, or with each flat's items under a parent item
// (which moves less of the scene's index when one item moves, and gives
// the hit test a level more to walk). Each mirror has its own view.
#pragma once

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainterPath>
#include <QPixmap>
#include <unordered_map>

class QGraphicsItem;
class TGraphEditor;
class TGraphObject;
class TGraphLink;

class TSceneMirror {
 public:
  // Adds one item per object of Graph, in the graph's drawing order; when
  // Grouped, the items of each run of ObjectsPerFlat objects (one flat, as
  // the generator builds them) go under a parent item of their own.
  TSceneMirror(TGraphEditor& Graph, bool Grouped, int ObjectsPerFlat);
  TSceneMirror(const TSceneMirror&) = delete;
  TSceneMirror& operator=(const TSceneMirror&) = delete;

  QGraphicsScene& Scene() { return fScene; }
  QGraphicsView& View() { return fView; }
  QGraphicsItem* ItemOf(const TGraphObject* Object) const;
  // Shows exactly Area of the scene in the view at Scale (1 is 100 %).
  void ShowArea(const QRectF& Area, double Scale);
  // The items with contents whose bounds meet Area: what a paint of it draws.
  int ItemsIn(const QRectF& Area) const;
  int DistinctPixmaps() const { return int(fPixmaps.size()); }

  // Moves the node's item by (dX, dY) and drags the hooked ends of its walls
  // along, as the control's links follow their nodes.
  void MoveNode(const TGraphObject* Node, double dX, double dY);

 private:
  QGraphicsItem* AddWall(const TGraphLink& Link);
  QGraphicsItem* AddPicture(const TGraphObject& Node);
  QGraphicsItem* AddLabel(const TGraphObject& Node);
  void Place(QGraphicsItem* Item, QGraphicsItem* Parent);

  QGraphicsScene fScene;
  QGraphicsView fView;
  std::unordered_map<const TGraphObject*, QGraphicsItem*> fItems;
  // One pixmap per distinct picture, keyed by the pixels it was made of.
  std::unordered_map<const uchar*, QPixmap> fPixmaps;
  TGraphEditor& fGraph;
};
