// Metafile recordings alone: any bytes, their checksum made valid so that
// mutations reach the records, must be refused by the check or play safely
// on a bitmap and into SVG.
#include <QImage>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "Canvas.h"
#include "Exceptions.h"
#include "FuzzSupport.h"
#include "Picture.h"
#include "Recording.h"
#include "Stream.h"

namespace {
// How many inputs got past the check to the player, told at the end: the
// player is Qt's, not instrumented, so coverage alone cannot show it.
long long Inputs = 0, Played = 0;
void Report() { std::fprintf(stderr, "MetafileFuzzer: %lld of %lld inputs played\n", Played, Inputs); }
}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* Data, size_t Size, size_t MaxSize);

namespace {

constexpr qsizetype kRecordsFrom = 32;  // after the header and the begin record

struct TRecord {
  uint8_t Command;
  QByteArray Parameters;
};

// The records of a recording; false when its framing does not add up.
bool SplitRecords(const uint8_t* Data, size_t Size, std::vector<TRecord>& Records) {
  for (size_t at = kRecordsFrom; at < Size;) {
    if (Size - at < 2) return false;
    TRecord record{Data[at], {}};
    size_t length = Data[at + 1];
    at += 2;
    if (length == 255) {
      if (Size - at < 4) return false;
      length = qFromBigEndian<quint32>(Data + at);
      at += 4;
    }
    if (length > Size - at) return false;
    record.Parameters = QByteArray(reinterpret_cast<const char*>(Data + at), qsizetype(length));
    Records.push_back(record);
    at += length;
  }
  return !Records.empty();
}

QByteArray JoinRecords(const uint8_t* Header, const std::vector<TRecord>& Records) {
  QByteArray out(reinterpret_cast<const char*>(Header), kRecordsFrom);
  qToBigEndian(quint32(Records.size()), out.data() + kRecordsFrom - 4);
  for (const TRecord& r : Records) {
    out.append(char(r.Command));
    const qsizetype length = r.Parameters.size();
    if (length < 255) {
      out.append(char(length));
    } else {
      char big[5] = {char(255)};
      qToBigEndian(quint32(length), big + 1);
      out.append(big, 5);
    }
    out.append(r.Parameters);
  }
  return out;
}

}  // namespace

// Mutations that keep the recording's framing: one record's parameters
// changed (its length follows), a record repeated or dropped; otherwise
// libFuzzer's own, so framing faults stay covered too.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* Data, size_t Size, size_t MaxSize, unsigned int Seed) {
  std::minstd_rand random(Seed);
  std::vector<TRecord> records;
  if (random() % 8 == 0 || Size < size_t(kRecordsFrom) || !SplitRecords(Data, Size, records))
    return LLVMFuzzerMutate(Data, Size, MaxSize);
  TRecord& record = records[random() % records.size()];
  switch (random() % 4) {
    case 0: records.insert(records.begin() + (random() % records.size()), record); break;
    case 1:
      if (records.size() > 1) records.erase(records.begin() + qsizetype(&record - records.data()));
      break;
    default: {
      // Mostly in place: a record of another length rarely parses.
      QByteArray& p = record.Parameters;
      const qsizetype size = p.size();
      if (size == 0) break;
      p.resize(random() % 8 == 0 ? size + 64 : size);
      p.resize(qsizetype(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(p.data()), size_t(size), size_t(p.size()))));
    }
  }
  QByteArray out = JoinRecords(Data, records);
  if (size_t(out.size()) > MaxSize) return LLVMFuzzerMutate(Data, Size, MaxSize);
  std::memcpy(Data, out.constData(), size_t(out.size()));
  return size_t(out.size());
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartFuzzApplication();
  std::atexit(Report);
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
  ++Inputs;
  try {
    metafile.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  ++Played;
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    canvas.StretchDraw(TRect(0, 0, 64, 64), metafile);
  }
  metafile.ToSvg();
  return 0;
}
