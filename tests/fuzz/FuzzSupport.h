// What the fuzz targets and the seed generator share: a Qt application on
// the offscreen platform and a graph control that knows the plan classes.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

class TGraphEditor;
class TMemoryStream;

// Starts the application once; later calls do nothing.
void StartFuzzApplication();
// The one control every input is loaded into (created on first use).
TGraphEditor& FuzzGraph();
// A memory stream holding Size bytes of Data, positioned at the start.
void FillStream(TMemoryStream& Stream, const uint8_t* Data, size_t Size);
// Repairs the checksum of every metafile recording inside Data (the
// recording's size precedes its "QPIC"), so that mutations of a document
// reach the records instead of dying on the checksum.
void SealEmbeddedRecordings(uint8_t* Data, size_t Size);
