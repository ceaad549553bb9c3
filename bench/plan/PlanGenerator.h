// Builds realistic floor plans of any size for benchmarks and tests: a
// residential block of flats side by side, each with thick outer walls,
// interior walls (some bent) with doors hooked between their halves,
// windows, thin lines, furniture pictures and room labels. The plan's area
// grows with the number of objects, so its density stays that of a flat.
#pragma once

#include <QImage>
#include <cstdint>
#include <random>
#include <vector>

#include "Types.h"

class TGraphEditor;
class TGraphNode;
class TGraphLink;

struct TPlanSummary {
  int Walls = 0;        // links of widths 1, 4 and 8
  int HookedWalls = 0;  // walls with one end hooked to a door
  int Pictures = 0;     // picture nodes
  int Labels = 0;       // room labels
  TRect Area;           // the tiles the flats stand on
};

class TPlanGenerator {
 public:
  // One flat stands on a tile of this size (1 unit = 2 cm).
  static constexpr int32_t FlatWidth = 640;
  static constexpr int32_t FlatHeight = 512;
  // Build adds the objects flat after flat, this many to a flat.
  static constexpr int ObjectsPerFlat = 47;

  explicit TPlanGenerator(uint32_t Seed = 1);

  // Adds exactly Count objects to Graph (the plan classes must be
  // registered), flat after flat, inside one update. Every picture node gets
  // pixels of its own, as a loaded document would.
  TPlanSummary Build(TGraphEditor& Graph, int Count);

  // The door hooked between two walls whose centre lies nearest Pt, or
  // nullptr when the plan has none.
  static TGraphNode* DoorNear(TGraphEditor& Graph, const TPoint& Pt);
  // The Count doors hooked between two walls nearest Pt, nearest first.
  static std::vector<TGraphNode*> DoorsNear(TGraphEditor& Graph, const TPoint& Pt, int Count);
  // The same among the doors drawn wholly inside Area (their selection
  // marks too), nearest Area's centre first: doors a drag can move
  // without scrolling the view that shows Area.
  static std::vector<TGraphNode*> DoorsIn(TGraphEditor& Graph, const TRect& Area, int Count);

 private:
  class TFlatBuilder;

  static std::vector<TGraphNode*> NearestDoors(TGraphEditor& Graph, const TPoint& Pt, int Count, const TRect* Within);

  const QImage& Pattern(int Index) const { return fPatterns[size_t(Index) % fPatterns.size()]; }
  // The pattern as a picture file, the way the palette hands pictures out.
  const QByteArray& PatternFile(int Index) const { return fPatternFiles[size_t(Index) % fPatternFiles.size()]; }

  std::mt19937 fRandom;
  std::vector<QImage> fPatterns;
  std::vector<QByteArray> fPatternFiles;
};
