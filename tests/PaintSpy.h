// Records the regions a widget is asked to repaint.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <vector>

class TPaintSpy : public QObject {
 public:
  explicit TPaintSpy(QWidget* Target) { Target->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::Paint) Regions.push_back(static_cast<QPaintEvent*>(Event)->region());
    return false;
  }
  // Everything repainted so far.
  QRegion Painted() const {
    QRegion all;
    for (const QRegion& r : Regions) all += r;
    return all;
  }
  std::vector<QRegion> Regions;
};
