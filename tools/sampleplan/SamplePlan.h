// The bundled sample: a compact two-bedroom flat (about 7.6 m × 6.4 m at
// 1 pixel = 2 cm) drawn with the designer's own objects: walls of three
// widths, doors, windows, furniture, fittings and room labels.
#pragma once

#include <QString>

class TGraphEditor;

// Adds the flat to Graph. Pictures come from MetaDir ("C_I.bmp" files as
// the palette uses them); a missing picture raises the loader's error.
void BuildSamplePlan(TGraphEditor& Graph, const QString& MetaDir);
