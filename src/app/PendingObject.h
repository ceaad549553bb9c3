// The palette object that waits for the next press on the plan. It is a
// recipe, not an object of the plan: nothing saved, exported, printed,
// copied or counted can hold it.
#pragma once

#include <QString>
#include <memory>

#include "ToolPalette.h"
#include "Types.h"

class TGraphEditor;
class TGraphNode;
class TPicture;

class TPendingObject {
 public:
  // A room label with Text.
  static std::unique_ptr<TPendingObject> Label(TPaletteItem Button, const QString& Text);
  // A palette picture read from FileName; raises the loader's error when the
  // file cannot be read.
  static std::unique_ptr<TPendingObject> Picture(TPaletteItem Button, const QString& FileName);
  ~TPendingObject();

  TPaletteItem Button() const { return fButton; }
  // Creates the object on Graph with its top-left corner at TopLeft.
  TGraphNode* Place(TGraphEditor* Graph, const TPoint& TopLeft) const;

 private:
  explicit TPendingObject(TPaletteItem Button);

  TPaletteItem fButton;
  QString fText;
  std::unique_ptr<TPicture> fPicture;
};
