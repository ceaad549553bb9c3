#include "Stream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "AtomicFile.h"
#include "Exceptions.h"

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t end = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return end;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  int64_t total = Count;
  char buffer[65536];
  while (Count > 0) {
    int64_t n = std::min<int64_t>(Count, sizeof buffer);
    Source.ReadBuffer(buffer, n);
    WriteBuffer(buffer, n);
    Count -= n;
  }
  return total;
}

int32_t TStream::ReadInt32() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

void TStream::WriteInt32(int32_t Value) {
  uint32_t v = static_cast<uint32_t>(Value);
  uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBuffer(b, 4);
}

// ---------------------------------------------------------------------------

TMemoryStream::~TMemoryStream() { Clear(); }

void TMemoryStream::Clear() {
  SetCapacity(0);
  fSize = 0;
  fPosition = 0;
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  if (fPosition < 0 || Count <= 0) return 0;
  int64_t n = std::min(fSize - fPosition, Count);
  if (n <= 0) return 0;
  std::memcpy(Buffer, fMemory + fPosition, static_cast<size_t>(n));
  fPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (fPosition < 0 || Count <= 0) return 0;
  int64_t end = fPosition + Count;
  if (end > fSize) {
    if (end > fCapacity) SetCapacity(end);
    fSize = end;
  }
  std::memcpy(fMemory + fPosition, Buffer, static_cast<size_t>(Count));
  fPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: fPosition = Offset; break;
    case soCurrent: fPosition += Offset; break;
    case soEnd: fPosition = fSize + Offset; break;
  }
  return fPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  int64_t oldPosition = fPosition;
  SetCapacity(NewSize);
  fSize = NewSize;
  if (oldPosition > NewSize) Seek(0, soEnd);
}

void TMemoryStream::SetCapacity(int64_t NewCapacity) {
  int64_t wanted = NewCapacity;
  fMemory = Realloc(wanted);
  fCapacity = wanted;
}

namespace {

// Blocks this large (where malloc maps fresh pages for every block anyway)
// are mapped here, asking for huge pages: a large document then costs one
// page fault per 2 MiB instead of per 4 KiB, and growing it moves pages
// rather than bytes.
constexpr int64_t kMappedFrom = int64_t(32) << 20;

bool IsMapped(int64_t Capacity) { return Capacity >= kMappedFrom; }

[[noreturn]] void OutOfMemory() {
  throw EOutOfResources(QStringLiteral("Out of memory while expanding memory stream"));
}

void* MapBlock(void* Old, int64_t OldCapacity, int64_t NewCapacity) {
  void* p = Old ? mremap(Old, size_t(OldCapacity), size_t(NewCapacity), MREMAP_MAYMOVE)
                : mmap(nullptr, size_t(NewCapacity), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) OutOfMemory();
  madvise(p, size_t(NewCapacity), MADV_HUGEPAGE);
  return p;
}

void FreeBlock(void* Block, int64_t Capacity) {
  if (!Block) return;
  if (IsMapped(Capacity))
    munmap(Block, size_t(Capacity));
  else
    std::free(Block);
}

}  // namespace

uint8_t* TMemoryStream::Realloc(int64_t& NewCapacity) {
  constexpr int64_t kDelta = 8192;
  // Past a few blocks a growing stream doubles, so that writing a large
  // document copies it once in all instead of once per block.
  constexpr int64_t kGeometricFrom = 8 * kDelta;
  if (NewCapacity > fCapacity && fCapacity >= kGeometricFrom && NewCapacity != fSize)
    NewCapacity = std::max(NewCapacity, 2 * fCapacity);
  if (NewCapacity > 0 && NewCapacity != fSize) NewCapacity = (NewCapacity + (kDelta - 1)) & ~(kDelta - 1);
  if (NewCapacity == fCapacity) return fMemory;
  if (NewCapacity == 0) {
    FreeBlock(fMemory, fCapacity);
    return nullptr;
  }
  void* p = nullptr;
  if (IsMapped(NewCapacity) && IsMapped(fCapacity)) {
    p = MapBlock(fMemory, fCapacity, NewCapacity);
  } else if (!IsMapped(NewCapacity) && !IsMapped(fCapacity)) {
    p = std::realloc(fMemory, static_cast<size_t>(NewCapacity));
    if (!p) OutOfMemory();
  } else {
    // Between the two kinds of block: copy what is held.
    p = IsMapped(NewCapacity) ? MapBlock(nullptr, 0, NewCapacity) : std::malloc(size_t(NewCapacity));
    if (!p) OutOfMemory();
    if (fMemory) std::memcpy(p, fMemory, size_t(std::min({fSize, fCapacity, NewCapacity})));
    FreeBlock(fMemory, fCapacity);
  }
  return static_cast<uint8_t*>(p);
}

void TMemoryStream::LoadFromStream(TStream& Source) {
  Source.SetPosition(0);
  int64_t count = Source.Size();
  SetSize(count);
  if (count != 0) Source.ReadBuffer(fMemory, count);
  fPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Dest) {
  if (fSize != 0) Dest.WriteBuffer(fMemory, fSize);
}

void TMemoryStream::LoadFromFile(const QString& FileName) {
  TFileStream f(FileName, fmOpenRead);
  LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const QString& FileName) {
  WriteFileAtomically(FileName, QByteArrayView(fMemory, qsizetype(fSize)));
}

// ---------------------------------------------------------------------------

TFileStream::TFileStream(const QString& FileName, TFileMode Mode) : fFileName(FileName) {
  QByteArray path = QFile::encodeName(FileName);
  if (Mode == fmCreate) {
    fHandle = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fHandle < 0)
      throw EFCreateError(
          QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, QString::fromLocal8Bit(std::strerror(errno))));
    return;
  }
  fHandle = ::open(path.constData(), (Mode == fmOpenRead ? O_RDONLY : O_RDWR) | O_CLOEXEC);
  if (fHandle >= 0) {
    struct stat st {};
    if (::fstat(fHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fHandle);
      fHandle = -1;
      errno = EISDIR;
    }
  }
  if (fHandle < 0)
    throw EFOpenError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, QString::fromLocal8Bit(std::strerror(errno))));
}

TFileStream::~TFileStream() {
  if (fHandle >= 0) ::close(fHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  int64_t total = 0;
  auto* p = static_cast<char*>(Buffer);
  while (total < Count) {
    ssize_t n = ::read(fHandle, p + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  return total;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  int64_t total = 0;
  auto* p = static_cast<const char*>(Buffer);
  while (total < Count) {
    ssize_t n = ::write(fHandle, p + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(fHandle, static_cast<off_t>(Offset), whence);
  return r < 0 ? -1 : static_cast<int64_t>(r);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (::ftruncate(fHandle, static_cast<off_t>(NewSize)) != 0) throw EWriteError(QStringLiteral("Stream write error"));
  if (Position() > NewSize) Seek(0, soEnd);
}

void TFileStream::Flush() {
  if (::fsync(fHandle) != 0) throw EWriteError(QStringLiteral("Stream write error"));
}
