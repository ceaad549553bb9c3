// Metafile recordings alone: any bytes, their checksum made valid so that
// mutations reach the records, must be refused by the check or play safely
// on a bitmap and into SVG.
#include <QImage>

#include "Canvas.h"
#include "Exceptions.h"
#include "FuzzSupport.h"
#include "Picture.h"
#include "Recording.h"
#include "Stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartFuzzApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QByteArray recording(reinterpret_cast<const char*>(Data), qsizetype(Size));
  SealRecording(recording);
  TMemoryStream in;
  in.WriteInt32(0);  // no logical size: the recording's bounds decide
  in.WriteInt32(0);
  in.WriteInt32(int32_t(recording.size()));
  in.WriteBuffer(recording.constData(), recording.size());
  in.SetPosition(0);
  TMetafile metafile;
  try {
    metafile.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    canvas.StretchDraw(TRect(0, 0, 64, 64), metafile);
  }
  metafile.ToSvg();
  return 0;
}
