// Saves a canvas' drawing tools and puts them back, so that whatever pens,
// brushes and fonts the objects select while drawing, the canvas leaves the
// object-drawing step as it entered it.
#pragma once

#include <cstdint>

#include "GraphicsObjects.h"

class TCanvas;

class TCanvasRecall {
 public:
  // Stores AReference's tools at once. AReference is not owned and must
  // outlive the recall or be detached (SetReference(nullptr)) first.
  explicit TCanvasRecall(TCanvas* AReference);
  // Puts the stored tools back into the reference.
  ~TCanvasRecall();
  TCanvasRecall(const TCanvasRecall&) = delete;
  TCanvasRecall& operator=(const TCanvasRecall&) = delete;

  // Copies the reference's font, pen, brush, copy mode and text flags.
  void Store();
  // Copies them back into the reference.
  void Retrieve();

  TCanvas* Reference() const { return fReference; }
  // Restores the old canvas and stores the new one; nothing when unchanged,
  // so null detaches after restoring.
  void SetReference(TCanvas* Value);

 private:
  TPen fPen;
  TFont fFont;
  TBrush fBrush;
  int32_t fCopyMode = 0;
  int32_t fTextFlags = 0;
  TCanvas* fReference = nullptr;
};
