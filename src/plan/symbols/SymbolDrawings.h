// The drawing of each symbol, in its own pixels at natural size w × h (not
// part of the public interface; PlanSymbols.cpp holds the table that maps
// palette items to these).
#pragma once

#include "SymbolInk.h"

using TSymbolDrawing = void (*)(TSymbolInk& ink, int w, int h);

// Doors, windows and stairs (OpeningSymbols.cpp).
void DrawSwingDoor(TSymbolInk& ink, int w, int h);
void DrawSlidingDoorTwo(TSymbolInk& ink, int w, int h);
void DrawSlidingDoorFour(TSymbolInk& ink, int w, int h);
void DrawFlatWindow(TSymbolInk& ink, int w, int h);
void DrawBayWindow(TSymbolInk& ink, int w, int h);
void DrawStraightStair(TSymbolInk& ink, int w, int h);
void DrawSpiralStair(TSymbolInk& ink, int w, int h);

// Beds, sofas, tables and cabinets (FurnitureSymbols.cpp).
void DrawSingleBed(TSymbolInk& ink, int w, int h);
void DrawDoubleBed(TSymbolInk& ink, int w, int h);
void DrawBedWithNightTables(TSymbolInk& ink, int w, int h);
void DrawArmchair(TSymbolInk& ink, int w, int h);
void DrawThreeSeatSofa(TSymbolInk& ink, int w, int h);
void DrawCornerSofa(TSymbolInk& ink, int w, int h);
void DrawSquareTable(TSymbolInk& ink, int w, int h);
void DrawLongTable(TSymbolInk& ink, int w, int h);
void DrawTvCabinet(TSymbolInk& ink, int w, int h);
void DrawWardrobe(TSymbolInk& ink, int w, int h);
void DrawDesk(TSymbolInk& ink, int w, int h);
void DrawDiningTable(TSymbolInk& ink, int w, int h);

// Sanitary and kitchen fittings, the plant and the north arrow (FittingSymbols.cpp).
void DrawToilet(TSymbolInk& ink, int w, int h);
void DrawBathtub(TSymbolInk& ink, int w, int h);
void DrawGasStove(TSymbolInk& ink, int w, int h);
void DrawWashingMachine(TSymbolInk& ink, int w, int h);
void DrawPottedPlant(TSymbolInk& ink, int w, int h);
void DrawShortBasin(TSymbolInk& ink, int w, int h);
void DrawLongBasin(TSymbolInk& ink, int w, int h);
void DrawNorthArrow(TSymbolInk& ink, int w, int h);
