// The floor plan's own objects: wall lines, picture nodes (doors, windows,
// furniture, fittings) and room labels, and the pen settings new walls take.
#pragma once

#include <QString>

#include "GraphLink.h"
#include "NodeShapes.h"

class TBitmap;
class TPicture;

// Width and colour every new wall gets.
extern int CurrentLineWidth;
extern TColor CurrentLineColor;

// A wall: a link with no arrow head, no caption, and nothing can be hooked
// onto it. A new wall takes the current pen; one read from a stream has
// exactly the pen stored there.
class TWallLine : public TGraphLink {
  GRAPH_OBJECT_CLASS(TWallLine)

 protected:
  explicit TWallLine(TGraphEditor* AOwner);
  void AfterConstruction() override;
};

// A palette picture placed on the plan. It draws only its picture, never a
// frame, not even while dragged.
class TZyImageNode : public TRectangularNode {
  GRAPH_OBJECT_CLASS(TZyImageNode)

 public:
  // A node sized to the picture in BackgroudImage, at the graph origin.
  // Raises the picture loader's error (and adds nothing) when the file
  // cannot be read.
  static TZyImageNode* Create2(TGraphEditor* AOwner, const QString& BackgroudImage);
  // The same with a picture already read.
  static TZyImageNode* Create2(TGraphEditor* AOwner, const TPicture& Picture);

  void DrawBody(TCanvas& Canvas) const override;
  void DrawBorder(TCanvas& Canvas) const override;

 protected:
  using TRectangularNode::TRectangularNode;
};

// A room label: its text, centred, with no fill and no frame until it has
// been turned (and so has a picture). The text is shown at least
// RoomLabelPixels high at 100 %, whatever (smaller) font the label has or
// inherits: 14 pixels are 28 cm on the plan, 2.8 mm printed at 1:100,
// where a dense character such as 餐 still has its strokes apart. The font
// itself, and so the document's bytes, stays as it is.
class TZyTextBoxNode : public TRectangularNode {
  GRAPH_OBJECT_CLASS(TZyTextBoxNode)

 public:
  static constexpr int32_t LabelWidth = 100, LabelHeight = 40;
  static constexpr int RoomLabelPixels = 14;
  // A 100 × 40 label with the text Append, at the graph origin.
  static TZyTextBoxNode* Create2(TGraphEditor* AOwner, const QString& Append);

  void DrawBody(TCanvas& Canvas) const override;
  const TFont& CaptionFont() const override;

 protected:
  using TRectangularNode::TRectangularNode;

 private:
  mutable TFont fLabelFont;
};

// Registers the plan classes with the graph's class registry, in the order
// the designer needs: picture node, wall, label, dimension line.
void RegisterPlanClasses();

// Dest becomes Source turned a quarter clockwise, pixel for pixel.
void RotateBitmapClockwise(const TBitmap& Source, TBitmap& Dest);

// Turns a rectangular node a quarter clockwise about its centre, box and
// picture; a node without a picture gets an empty bitmap. Other objects are
// left alone. Answers whether the object was turned.
bool RotateNodeClockwise(TGraphObject* GraphObject);
