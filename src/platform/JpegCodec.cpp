#include "JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "Exceptions.h"
#include "IntMath.h"
#include "PictureLimits.h"

// libjpeg reports fatal errors through error_exit, which must not return.
// Ours long-jumps back to the stage function that called setjmp; those
// stage functions hold no C++ objects with destructors, so nothing is
// skipped by the jump. The C++ callers then raise EInvalidGraphic.

namespace {

struct TErrorManager {
  jpeg_error_mgr Base;  // first, so the library's pointer converts back
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<TErrorManager*>(info->err);
  (*info->err->format_message)(info, error->Message);
  longjmp(error->Jump, 1);
}

// Running out of data is fatal: libjpeg would otherwise pad a truncated
// file and decode a grey image of whatever size the header claims. Once
// every row is out, a missing end marker is forgiven.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0 || info->err->msg_code != JWRN_JPEG_EOF) return;
  if (info->is_decompressor) {
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->output_height > 0 && d->output_scanline >= d->output_height) return;
  }
  ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

void InstallErrorManager(TErrorManager& error) {
  jpeg_std_error(&error.Base);
  error.Base.error_exit = ErrorExit;
  error.Base.emit_message = EmitMessage;
  error.Base.output_message = OutputMessage;
  error.Message[0] = '\0';
}

[[noreturn]] void RaiseInvalid(const char* detail) {
  throw EInvalidGraphic(QStringLiteral("JPEG image is not valid: %1").arg(QString::fromLatin1(detail)));
}

// ---------------------------------------------------------------------------
// Decoding

struct TDecoder {
  jpeg_decompress_struct Info{};
  TErrorManager Error{};

  TDecoder() {
    InstallErrorManager(Error);
    Info.err = &Error.Base;
  }
  ~TDecoder() { jpeg_destroy_decompress(&Info); }
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;
};

bool ReadHeader(TDecoder& d, const uint8_t* data, size_t size) {
  if (setjmp(d.Error.Jump)) return false;
  jpeg_create_decompress(&d.Info);
  jpeg_mem_src(&d.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d.Info, TRUE);
  d.Info.out_color_space = d.Info.num_components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_calc_output_dimensions(&d.Info);
  return true;
}

// Adobe files store CMYK inverted; others store it plain.
void CmykToRgb(const uint8_t* cmyk, uint8_t* rgb, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; ++c) rgb[c] = uint8_t(MulDiv(inverted ? cmyk[c] : 255 - cmyk[c], k, 255));
  }
}

// Rows go straight into Bits, or through CmykRow when the output is CMYK.
bool ReadPixels(TDecoder& d, uint8_t* bits, qsizetype bytesPerLine, uint8_t* cmykRow) {
  if (setjmp(d.Error.Jump)) return false;
  jpeg_start_decompress(&d.Info);
  while (d.Info.output_scanline < d.Info.output_height) {
    uint8_t* target = bits + qsizetype(d.Info.output_scanline) * bytesPerLine;
    JSAMPROW row = cmykRow ? cmykRow : target;
    jpeg_read_scanlines(&d.Info, &row, 1);
    if (cmykRow) CmykToRgb(cmykRow, target, d.Info.output_width, d.Info.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&d.Info);
  return true;
}

// Huffman coding spends at least one bit on every block of the full-size
// component, so a file cannot code more than eight 8x8 blocks per byte.
bool SizeFitsData(JDIMENSION width, JDIMENSION height, size_t dataSize) {
  uint64_t blocks = (uint64_t(width) + 7) / 8 * ((uint64_t(height) + 7) / 8);
  return blocks <= uint64_t(dataSize) * 8;
}

// ---------------------------------------------------------------------------
// Encoding

struct TDestination {
  jpeg_destination_mgr Base;  // first, so the library's pointer converts back
  QByteArray* Out;
  JOCTET Buffer[16384];
};

TDestination* DestinationOf(j_compress_ptr info) { return reinterpret_cast<TDestination*>(info->dest); }

void InitDestination(j_compress_ptr info) {
  TDestination* dest = DestinationOf(info);
  dest->Base.next_output_byte = dest->Buffer;
  dest->Base.free_in_buffer = sizeof dest->Buffer;
}

void Flush(j_compress_ptr info, size_t count) {
  TDestination* dest = DestinationOf(info);
  bool failed = false;
  try {
    dest->Out->append(reinterpret_cast<const char*>(dest->Buffer), qsizetype(count));
  } catch (...) {
    failed = true;
  }
  if (failed) ERREXIT(info, JERR_OUT_OF_MEMORY);
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  Flush(info, sizeof DestinationOf(info)->Buffer);
  InitDestination(info);
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  TDestination* dest = DestinationOf(info);
  Flush(info, sizeof dest->Buffer - dest->Base.free_in_buffer);
}

struct TEncoder {
  jpeg_compress_struct Info{};
  TErrorManager Error{};
  TDestination Dest{};

  explicit TEncoder(QByteArray& out) {
    InstallErrorManager(Error);
    Info.err = &Error.Base;
    Dest.Base.init_destination = InitDestination;
    Dest.Base.empty_output_buffer = EmptyOutputBuffer;
    Dest.Base.term_destination = TermDestination;
    Dest.Out = &out;
  }
  ~TEncoder() { jpeg_destroy_compress(&Info); }
  TEncoder(const TEncoder&) = delete;
  TEncoder& operator=(const TEncoder&) = delete;
};

bool Compress(TEncoder& e, const QImage& rgb, int quality) {
  if (setjmp(e.Error.Jump)) return false;
  jpeg_create_compress(&e.Info);
  e.Info.dest = &e.Dest.Base;
  e.Info.image_width = JDIMENSION(rgb.width());
  e.Info.image_height = JDIMENSION(rgb.height());
  e.Info.input_components = 3;
  e.Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&e.Info);
  jpeg_set_quality(&e.Info, quality, TRUE);
  jpeg_start_compress(&e.Info, TRUE);
  while (e.Info.next_scanline < e.Info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(rgb.constScanLine(int(e.Info.next_scanline)));
    jpeg_write_scanlines(&e.Info, &row, 1);
  }
  jpeg_finish_compress(&e.Info);
  return true;
}

}  // namespace

QImage DecodeJpeg(QByteArrayView File) {
  const auto* data = reinterpret_cast<const uint8_t*>(File.data());
  auto size = size_t(File.size());
  TDecoder decoder;
  if (!ReadHeader(decoder, data, size)) RaiseInvalid(decoder.Error.Message);
  const jpeg_decompress_struct& info = decoder.Info;
  if (!SizeFitsData(info.output_width, info.output_height, size)) RaiseInvalid("image larger than its data");
  CheckPictureSize(info.output_width, info.output_height);

  QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
  if (image.isNull()) RaiseInvalid("out of memory");
  std::vector<uint8_t> cmykRow;
  if (info.out_color_space == JCS_CMYK) cmykRow.resize(size_t(info.output_width) * 4);
  if (!ReadPixels(decoder, image.bits(), image.bytesPerLine(), cmykRow.empty() ? nullptr : cmykRow.data()))
    RaiseInvalid(decoder.Error.Message);
  return image;
}

QByteArray EncodeJpeg(const QImage& Image, int Quality) {
  if (Image.isNull() || Image.width() <= 0 || Image.height() <= 0) RaiseInvalid("empty image");
  QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
  QByteArray out;
  TEncoder encoder(out);
  if (!Compress(encoder, rgb, std::clamp(Quality, 1, 100))) RaiseInvalid(encoder.Error.Message);
  return out;
}
