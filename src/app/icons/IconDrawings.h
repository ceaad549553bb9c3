// The drawing of each icon of the image list (not part of the public
// interface; IconList.cpp maps the indexes to these).
#pragma once

#include "IconPainter.h"

using TIconDrawing = void (*)(TIconPainter& p);

// Document and edit commands (CommandIcons.cpp).
void DrawNewIcon(TIconPainter& p);
void DrawOpenIcon(TIconPainter& p);
void DrawSaveIcon(TIconPainter& p);
void DrawPrintIcon(TIconPainter& p);
void DrawExitIcon(TIconPainter& p);
void DrawCutIcon(TIconPainter& p);
void DrawCopyIcon(TIconPainter& p);
void DrawPasteIcon(TIconPainter& p);
void DrawDeleteIcon(TIconPainter& p);
void DrawSendToBackIcon(TIconPainter& p);
void DrawBringToFrontIcon(TIconPainter& p);
void DrawSelectAllIcon(TIconPainter& p);
void DrawExportPictureIcon(TIconPainter& p);
void DrawLockNodesIcon(TIconPainter& p);
void DrawLockLinesIcon(TIconPainter& p);
void DrawRotateIcon(TIconPainter& p);

// Commands the window lists but does not offer yet (CommandIcons.cpp).
void DrawZoomInIcon(TIconPainter& p);
void DrawZoomOutIcon(TIconPainter& p);
void DrawInvertSelectionIcon(TIconPainter& p);
void DrawAlignLeftIcon(TIconPainter& p);
void DrawAlignCentreIcon(TIconPainter& p);
void DrawAlignRightIcon(TIconPainter& p);
void DrawAlignTopIcon(TIconPainter& p);
void DrawAlignMiddleIcon(TIconPainter& p);
void DrawAlignBottomIcon(TIconPainter& p);
void DrawGridIcon(TIconPainter& p);
void DrawActualSizeIcon(TIconPainter& p);
void DrawWholeGraphIcon(TIconPainter& p);
void DrawHelpIcon(TIconPainter& p);
void DrawRotateBackIcon(TIconPainter& p);
void DrawUndoIcon(TIconPainter& p);
void DrawRedoIcon(TIconPainter& p);
void DrawMergeIcon(TIconPainter& p);
void DrawColoursIcon(TIconPainter& p);

// Palette tools, shapes and line widths (ToolIcons.cpp).
void DrawHandIcon(TIconPainter& p);
void DrawArrowIcon(TIconPainter& p);
void DrawWallIcon(TIconPainter& p);
void DrawDimensionLineIcon(TIconPainter& p);
void DrawRectangleIcon(TIconPainter& p);
void DrawRoundRectangleIcon(TIconPainter& p);
void DrawEllipseIcon(TIconPainter& p);
void DrawTriangleIcon(TIconPainter& p);
void DrawRhomboidIcon(TIconPainter& p);
void DrawPentagonIcon(TIconPainter& p);
void DrawHexagonIcon(TIconPainter& p);
void DrawAddPointIcon(TIconPainter& p);
void DrawRemovePointIcon(TIconPainter& p);
void DrawReverseLinkIcon(TIconPainter& p);
void DrawThinLineIcon(TIconPainter& p);
void DrawMediumLineIcon(TIconPainter& p);
void DrawThickLineIcon(TIconPainter& p);

// A room-label character, and a palette symbol fitted into the icon.
void DrawLabelIcon(TIconPainter& p, const QString& text);
void DrawSymbolIcon(TIconPainter& p, int category, int item);
