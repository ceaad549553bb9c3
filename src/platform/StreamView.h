// A read-only stream over bytes held elsewhere, so that a block of a stream
// already in memory can be handed on as a stream of its own without copying
// it.
#pragma once

#include <algorithm>
#include <cstring>

#include "Exceptions.h"
#include "Stream.h"

class TStreamView final : public TStream {
 public:
  TStreamView(const uint8_t* Data, int64_t Size) : fData(Data), fSize(Size) {}

  int64_t Read(void* Buffer, int64_t Count) override {
    if (fPosition < 0 || Count <= 0) return 0;
    int64_t n = std::min(fSize - fPosition, Count);
    if (n <= 0) return 0;
    std::memcpy(Buffer, fData + fPosition, static_cast<size_t>(n));
    fPosition += n;
    return n;
  }
  int64_t Write(const void*, int64_t) override { throw EWriteError(QStringLiteral("Stream write error")); }
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
    switch (Origin) {
      case soBeginning: fPosition = Offset; break;
      case soCurrent: fPosition += Offset; break;
      case soEnd: fPosition = fSize + Offset; break;
    }
    return fPosition;
  }
  int64_t Size() override { return fSize; }
  void SetSize(int64_t) override { throw EWriteError(QStringLiteral("Stream write error")); }
  const uint8_t* InPlace() override { return fPosition >= 0 && fPosition <= fSize ? fData + fPosition : nullptr; }

  // The next Count bytes of Stream where they lie in memory (see InPlace),
  // skipped over; nullptr, and nothing read, otherwise.
  static const uint8_t* TakeInPlace(TStream& Stream, int64_t Count) {
    const uint8_t* at = Stream.InPlace();
    if (!at || Count < 0 || Count > Stream.Remaining()) return nullptr;
    Stream.Seek(Count, soCurrent);
    return at;
  }

 private:
  const uint8_t* fData;
  int64_t fSize;
  int64_t fPosition = 0;
};
