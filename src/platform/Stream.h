// Byte streams: the abstract stream, a growable memory stream whose storage
// a subclass may provide, and a file stream.
#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to Count bytes; answers how many were read.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  // Writes up to Count bytes; answers how many were written.
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize) = 0;
  // Bytes between the position and the end.
  int64_t Remaining() { return Size() - Position(); }
  // Where the bytes from the position on lie in memory, for a stream that
  // holds them there; nullptr for one that does not (a file). Valid for
  // Remaining() bytes, until the stream next changes.
  virtual const uint8_t* InPlace() { return nullptr; }

  // Exactly Count bytes or EReadError "Stream read error".
  void ReadBuffer(void* Buffer, int64_t Count);
  // Exactly Count bytes or EWriteError "Stream write error".
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source (all of it from the start when Count is 0).
  int64_t CopyFrom(TStream& Source, int64_t Count);

  int32_t ReadInt32();
  void WriteInt32(int32_t Value);
};

// A stream over one contiguous block. Storage is obtained through Realloc,
// which a subclass may replace.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return fSize; }
  void SetSize(int64_t NewSize) override;
  const uint8_t* InPlace() override {
    return fMemory && fPosition >= 0 && fPosition <= fSize ? fMemory + fPosition : nullptr;
  }

  void Clear();
  void LoadFromStream(TStream& Source);
  void SaveToStream(TStream& Dest);
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName);

  uint8_t* Memory() const { return fMemory; }
  int64_t Capacity() const { return fCapacity; }

 protected:
  void SetCapacity(int64_t NewCapacity);
  // Answers storage of at least NewCapacity bytes holding the old bytes
  // (nullptr for 0); may enlarge NewCapacity. The default grows in 8 KiB steps.
  virtual uint8_t* Realloc(int64_t& NewCapacity);
  void SetPointer(uint8_t* Ptr, int64_t Size) {
    fMemory = Ptr;
    fSize = Size;
  }
  // Lets a subclass take over or drop the block during destruction.
  void ForgetMemory() {
    fMemory = nullptr;
    fCapacity = 0;
    fSize = 0;
    fPosition = 0;
  }

 private:
  uint8_t* fMemory = nullptr;
  int64_t fSize = 0;
  int64_t fPosition = 0;
  int64_t fCapacity = 0;
};

enum TFileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

// A file opened for reading (other writers denied by convention) or created.
class TFileStream : public TStream {
 public:
  // Raises EFOpenError or EFCreateError when the file cannot be opened.
  TFileStream(const QString& FileName, TFileMode Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  // Pushes written bytes to the disk; raises EWriteError when that fails.
  void Flush();
  int Handle() const { return fHandle; }

 private:
  int fHandle = -1;
  QString fFileName;
};
