// A metafile's recording (QPicture's serial form) comes from documents and
// the clipboard, so it is untrusted: Qt's player takes its values on trust
// and crashes, hangs or allocates without bound on damaged ones. Nothing
// plays a recording that has not passed CheckRecording.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Walks the recording: header, checksum, format version (the one this Qt
// writes), then every record with its length, accepting only the commands
// the recorder writes with known, in-range values, within bounded time and
// memory. Raises EInvalidGraphic "Metafile is not valid" for anything else
// and EPictureTooLarge for bounds or images beyond MaxPicturePixels.
void CheckRecording(QByteArrayView Data);

// Recomputes the header's checksum over the rest of Data (recordings that
// tests and fuzzers change on purpose). Data shorter than a header is left.
void SealRecording(QByteArray& Data);
