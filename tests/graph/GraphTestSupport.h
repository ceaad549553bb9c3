// Helpers shared by the graph tests: a control of a known size, a node class
// that records the change flags it applies, and the repaint recorder.
#pragma once

#include <QApplication>
#include <vector>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "IntMath.h"
#include "NodeShapes.h"
#include "PaintSpy.h"

// A rectangle node that remembers every ApplyChanges call that got past the
// update hold.
class TRecordingNode : public TRectangularNode {
  GRAPH_OBJECT_CLASS(TRecordingNode)

 public:
  std::vector<TGraphChangeFlags> Applied;
  void ApplyChanges(TGraphChangeFlags Flags) override {
    if (!ChangesHeld()) Applied.push_back(Flags);
    TRectangularNode::ApplyChanges(Flags);
  }

 protected:
  using TRectangularNode::TRectangularNode;
};

// A shown control of a fixed client size with no objects.
inline std::unique_ptr<TGraphEditor> MakeGraph(int width = 400, int height = 300) {
  auto g = std::make_unique<TGraphEditor>();
  g->resize(width, height);
  return g;
}

inline void ProcessEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

template <class T>
T* AddNode(TGraphEditor& g, const TRect& r) {
  return static_cast<T*>(g.InsertNode(r, &T::ClassInfo));
}
