// The property stream: a self-describing, tagged encoding of an object's
// published and defined properties. TWriter produces it, TReader consumes it
// and resolves dotted property paths ("G.Brush.Color") through the objects'
// class-valued properties.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <cstring>
#include <functional>

#include "Persistent.h"

class TStream;

// Value tags. Values missing from this list (floating point, collections,
// currency, dates) are not part of the format and read as a format error.
enum TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
};

class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& Stream) : fStream(Stream) {}

  // "TPF0", the class name, an empty component name, the properties, then
  // the end-of-properties and end-of-children markers. The writer gathers
  // small writes in a buffer of its own: the bytes are all in the stream
  // when this returns.
  void WriteRootObject(TPersistent& Root, const char* ClassName);

  void DefineProperty(const char* Name, const std::function<void(TReader&)>& ReadData,
                      const std::function<void(TWriter&)>& WriteData, bool HasData) override;
  void DefineBinaryProperty(const char* Name, const std::function<void(TStream&)>& ReadData,
                            const std::function<void(TStream&)>& WriteData, bool HasData) override;

  // Value calls, each writing one tagged value.
  void WriteInteger(int32_t Value);
  // vaInt64 only for values outside the 32-bit range.
  void WriteInt64(int64_t Value);
  void WriteBoolean(bool Value);
  void WriteIdent(const QByteArray& Name);
  void WriteString(const QString& Value);
  void WriteBinary(const QByteArray& Bytes);
  // Members of Element whose bits are set, in ordinal order.
  void WriteSet(const TEnumType& Element, uint64_t Bits);
  void WriteNil() { WriteValue(vaNil); }

  void WriteValue(TValueType Tag);
  // A length byte and at most 255 bytes; longer names raise EWriteError.
  void WriteShortString(const QByteArray& Bytes);

 private:
  void WriteProperties(TPersistent& Object, QByteArrayView Prefix);
  void WriteProperty(TPersistent& Object, const TPropInfo& Prop, QByteArrayView Prefix);
  void WriteOrdinalProperty(const TPersistent& Object, const TPropInfo& Prop, QByteArrayView Prefix);
  // The short string Prefix + Name, without building it first.
  void WritePropertyName(QByteArrayView Prefix, const char* Name);
  void WriteInt32(int32_t Value);
  // A property is a handful of writes of a few bytes each; they go to the
  // stream a buffer at a time.
  void WriteBytes(const void* Data, int64_t Count) {
    if (Count == 0) return;  // an empty view may have no data pointer, which memcpy must not see
    if (Count <= int64_t(sizeof fBuffer) - fBuffered) {
      std::memcpy(fBuffer + fBuffered, Data, size_t(Count));
      fBuffered += Count;
      return;
    }
    WriteBytesThrough(Data, Count);
  }
  void WriteBytesThrough(const void* Data, int64_t Count);
  void FlushBuffer();

  TStream& fStream;
  // The path of the object whose defined properties are being written; it
  // lives on the stack of the WriteProperties call that set it.
  QByteArrayView fPrefix;
  char fBuffer[4096];
  int64_t fBuffered = 0;
};

class TReader : public TFiler {
 public:
  explicit TReader(TStream& Stream) : fStream(Stream) {}

  // Reads what WriteRootObject wrote into Root. Raises EReadError with
  // "Invalid stream format", "Property %s does not exist",
  // "Invalid property value" or "Stream read error".
  void ReadRootObject(TPersistent& Root);
  // The class and component names of the last root read.
  const QString& RootClassName() const { return fRootClassName; }
  const QString& RootComponentName() const { return fRootComponentName; }

  void DefineProperty(const char* Name, const std::function<void(TReader&)>& ReadData,
                      const std::function<void(TWriter&)>& WriteData, bool HasData) override;
  void DefineBinaryProperty(const char* Name, const std::function<void(TStream&)>& ReadData,
                            const std::function<void(TStream&)>& WriteData, bool HasData) override;

  // The tag of the next value, left unread.
  TValueType NextValue();
  // Reads a tag; an unknown one raises "Invalid stream format".
  TValueType ReadValue();

  // Typed value calls; a value of another kind raises "Invalid property value".
  int32_t ReadInteger();         // vaInt8, vaInt16, vaInt32
  int64_t ReadInt64();           // also vaInt64
  bool ReadBoolean();            // vaFalse, vaTrue
  QByteArray ReadIdent();        // vaIdent; vaNil reads as "nil"
  QString ReadString();          // any string tag
  QByteArray ReadShortString();  // length byte + bytes, no tag

 private:
  void ReadProperty(TPersistent& Root, const QByteArray& Path);
  const TPropInfo* FindPublished(const TPersistent& Object, QByteArrayView Name);
  void ReadPublished(TPersistent& Object, const TPropInfo& Prop, const QByteArray& Path);
  void ReadDefined(TPersistent& Object, const QByteArray& Name, const QByteArray& Path);
  int64_t ReadIntegerPayload(TValueType Tag);
  int64_t ReadOrdinal(const TPropInfo& Prop);
  uint64_t ReadSetPayload(const TEnumType& Element);
  QString ReadStringPayload(TValueType Tag);
  // A length read from the stream, checked against the bytes that remain.
  int64_t ReadLength(int64_t UnitSize);
  QByteArray ReadBytes(int64_t Count);
  void ReadExact(void* Buffer, int64_t Count);

  TStream& fStream;
  QByteArray fPendingName;  // the defined property being looked for
  bool fPendingFound = false;
  QString fRootClassName;
  QString fRootComponentName;
  // Where the last name found in a property list was: a stream names a
  // class's properties in their declared order, so the next name is nearly
  // always that one or the one after it. One entry per list recently looked
  // through (the object's own and its pen's, brush's and font's).
  struct TLookupHint {
    const TPropList* List = nullptr;
    size_t Last = 0;
  };
  TLookupHint fHints[4];
  size_t fOldestHint = 0;
};
