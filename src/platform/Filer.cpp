#include "Filer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "Exceptions.h"
#include "Stream.h"
#include "StreamView.h"

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

[[noreturn]] void RaiseFormat() { throw EReadError(QStringLiteral("Invalid stream format")); }
[[noreturn]] void RaiseValue() { throw EReadError(QStringLiteral("Invalid property value")); }
[[noreturn]] void RaiseMissing(const QByteArray& path) {
  throw EReadError(FormatMessage("Property %s does not exist", QString::fromUtf8(path)));
}
[[noreturn]] void RaiseWrite() { throw EWriteError(QStringLiteral("Stream write error")); }

// Names compare case-insensitively and by their full length, so a name with
// an embedded zero byte never matches a shorter one. Declared names are
// ASCII, and no other byte folds to an ASCII letter, so folding ASCII
// letters alone is enough.
bool SameName(const char* name, QByteArrayView other) {
  const char* theirs = other.data();
  const qsizetype length = other.size();
  for (qsizetype i = 0; i < length; ++i) {
    const auto a = static_cast<unsigned char>(name[i]), b = static_cast<unsigned char>(theirs[i]);
    if (a == b) {
      if (!a) return false;  // name ended; the other goes on past a zero byte
      continue;
    }
    const unsigned char lower = a | 0x20;
    if (lower < 'a' || lower > 'z' || lower != (b | 0x20)) return false;
  }
  return name[length] == '\0';
}

int FindEnumName(const TEnumType& type, const QByteArray& name) {
  for (size_t i = 0; i < type.Names.size(); ++i)
    if (SameName(type.Names[i], name)) return int(i);
  return -1;
}

bool IsKnownTag(uint8_t tag) {
  switch (tag) {
    case vaNull:
    case vaList:
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaString:
    case vaIdent:
    case vaFalse:
    case vaTrue:
    case vaBinary:
    case vaSet:
    case vaLString:
    case vaNil:
    case vaWString:
    case vaInt64:
    case vaUTF8String: return true;
    default: return false;
  }
}

bool IsStringTag(TValueType tag) {
  return tag == vaString || tag == vaLString || tag == vaWString || tag == vaUTF8String;
}

bool IsInt32Tag(TValueType tag) { return tag == vaInt8 || tag == vaInt16 || tag == vaInt32; }

bool HasHighByte(const QByteArray& bytes) {
  for (char c : bytes)
    if (static_cast<uint8_t>(c) >= 0x80) return true;
  return false;
}

// UTF-16LE units; unpaired surrogates become U+FFFD.
QString DecodeUtf16(const QByteArray& bytes) {
  qsizetype n = bytes.size() / 2;
  QString s(n, Qt::Uninitialized);
  QChar* out = s.data();
  const auto* in = reinterpret_cast<const uint8_t*>(bytes.constData());
  for (qsizetype i = 0; i < n; ++i) out[i] = QChar(char16_t(in[2 * i] | in[2 * i + 1] << 8));
  for (qsizetype i = 0; i < n; ++i) {
    if (out[i].isHighSurrogate() && i + 1 < n && out[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    if (out[i].isSurrogate()) out[i] = QChar::ReplacementCharacter;
  }
  return s;
}

// A short string read into Buffer (its bytes, then a zero byte), as a
// QByteArray over Buffer: names and idents are looked at, never kept, so
// they need no storage of their own.
QByteArray ReadShortInto(TStream& Stream, char (&Buffer)[256]) {
  uint8_t length;
  Stream.ReadBuffer(&length, 1);
  Stream.ReadBuffer(Buffer, length);
  Buffer[length] = '\0';
  return QByteArray::fromRawData(Buffer, length);
}

// The root's class name, decoded once for all the records that repeat it.
QString DecodedClassName(const QByteArray& Name) {
  thread_local QByteArray lastName;
  thread_local QString lastDecoded;
  if (Name != lastName) {
    lastName = QByteArray(Name.constData(), Name.size());
    lastDecoded = QString::fromUtf8(Name);
  }
  return lastDecoded;
}

}  // namespace

// ---------------------------------------------------------------------------
// Writer

void TWriter::WriteRootObject(TPersistent& Root, const char* ClassName) {
  WriteBytes(kSignature, 4);
  WriteShortString(QByteArray::fromRawData(ClassName, qsizetype(std::strlen(ClassName))));
  WriteShortString(QByteArray());
  WriteProperties(Root, QByteArrayView());
  WriteValue(vaNull);
  WriteValue(vaNull);
  FlushBuffer();
}

void TWriter::WriteProperties(TPersistent& Object, QByteArrayView Prefix) {
  for (const auto& prop : Object.Properties()) WriteProperty(Object, prop, Prefix);
  QByteArrayView saved = std::exchange(fPrefix, Prefix);
  try {
    Object.DefineProperties(*this);
  } catch (...) {
    fPrefix = saved;
    throw;
  }
  fPrefix = saved;
}

// Most properties keep their default and are skipped, so a property's path
// is put together only when it is written.
void TWriter::WriteProperty(TPersistent& Object, const TPropInfo& Prop, QByteArrayView Prefix) {
  if (!Prop.IsStored(Object)) return;
  switch (Prop.Kind) {
    case TTypeKind::Class: {
      TPersistent* inner = Prop.GetObject ? Prop.GetObject(Object) : nullptr;
      if (inner) {
        // The inner object's path lives on the stack while it is written.
        const size_t name = std::strlen(Prop.Name);
        char path[256];
        if (size_t(Prefix.size()) + name + 1 > sizeof path)
          return WriteProperties(*inner, Prefix.toByteArray() + Prop.Name + '.');
        if (!Prefix.isEmpty()) std::memcpy(path, Prefix.data(), size_t(Prefix.size()));
        std::memcpy(path + Prefix.size(), Prop.Name, name);
        path[size_t(Prefix.size()) + name] = '.';
        return WriteProperties(*inner, QByteArrayView(path, Prefix.size() + qsizetype(name) + 1));
      }
      WritePropertyName(Prefix, Prop.Name);
      return WriteNil();
    }
    case TTypeKind::String: {
      QString value = Prop.GetStr ? Prop.GetStr(Object) : QString();
      if (value.isEmpty() && !Prop.WriteEmpty) return;
      WritePropertyName(Prefix, Prop.Name);
      return WriteString(value);
    }
    default: return WriteOrdinalProperty(Object, Prop, Prefix);
  }
}

void TWriter::WritePropertyName(QByteArrayView Prefix, const char* Name) {
  size_t length = size_t(Prefix.size()) + std::strlen(Name);
  if (length > 255) RaiseWrite();
  uint8_t b = static_cast<uint8_t>(length);
  WriteBytes(&b, 1);
  WriteBytes(Prefix.data(), Prefix.size());
  WriteBytes(Name, int64_t(length) - Prefix.size());
}

void TWriter::WriteOrdinalProperty(const TPersistent& Object, const TPropInfo& Prop, QByteArrayView Prefix) {
  if (!Prop.GetOrd) return;
  int64_t value = Prop.GetOrd(Object);
  if (Prop.Default && *Prop.Default == value) return;
  const char* ident = nullptr;
  if (Prop.Kind == TTypeKind::Integer && Prop.Idents) ident = Prop.Idents->ToIdent(static_cast<int32_t>(value));
  if (Prop.Kind == TTypeKind::Enumeration) {
    ident = Prop.Enum->NameOf(value);
    // An ordinal outside the type would write a name no reader accepts.
    if (!*ident) throw EWriteError(QStringLiteral("Invalid property value"));
  }
  WritePropertyName(Prefix, Prop.Name);
  if (ident) return WriteIdent(QByteArray::fromRawData(ident, qsizetype(std::strlen(ident))));
  switch (Prop.Kind) {
    case TTypeKind::Int64: return WriteInt64(value);
    case TTypeKind::Boolean: return WriteBoolean(value != 0);
    case TTypeKind::Set: return WriteSet(*Prop.Enum, static_cast<uint64_t>(value));
    default: return WriteInteger(static_cast<int32_t>(value));
  }
}

void TWriter::DefineProperty(const char* Name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& WriteData, bool HasData) {
  if (!HasData) return;
  WritePropertyName(fPrefix, Name);
  if (WriteData) WriteData(*this);
}

void TWriter::DefineBinaryProperty(const char* Name, const std::function<void(TStream&)>&,
                                   const std::function<void(TStream&)>& WriteData, bool HasData) {
  if (!HasData) return;
  // The block goes straight into the stream; its size is filled in after.
  WritePropertyName(fPrefix, Name);
  WriteValue(vaBinary);
  FlushBuffer();
  int64_t sizeAt = fStream.Position();
  fStream.WriteInt32(0);
  if (WriteData) WriteData(fStream);
  int64_t end = fStream.Position();
  int64_t size = end - sizeAt - 4;
  if (size > std::numeric_limits<int32_t>::max()) RaiseWrite();
  fStream.SetPosition(sizeAt);
  fStream.WriteInt32(static_cast<int32_t>(size));
  fStream.SetPosition(end);
}

void TWriter::WriteValue(TValueType Tag) {
  uint8_t b = Tag;
  WriteBytes(&b, 1);
}

void TWriter::WriteBytesThrough(const void* Data, int64_t Count) {
  FlushBuffer();
  if (Count >= int64_t(sizeof fBuffer)) return fStream.WriteBuffer(Data, Count);
  std::memcpy(fBuffer, Data, size_t(Count));
  fBuffered = Count;
}

void TWriter::FlushBuffer() {
  if (fBuffered == 0) return;
  // Emptied first: a failed write leaves nothing to write twice.
  const int64_t count = std::exchange(fBuffered, 0);
  fStream.WriteBuffer(fBuffer, count);
}

void TWriter::WriteInt32(int32_t Value) {
  const auto v = static_cast<uint32_t>(Value);
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBytes(b, 4);
}

void TWriter::WriteShortString(const QByteArray& Bytes) {
  if (Bytes.size() > 255) RaiseWrite();
  uint8_t length = static_cast<uint8_t>(Bytes.size());
  WriteBytes(&length, 1);
  WriteBytes(Bytes.constData(), Bytes.size());
}

void TWriter::WriteInteger(int32_t Value) {
  if (Value >= -128 && Value <= 127) {
    WriteValue(vaInt8);
    int8_t v = static_cast<int8_t>(Value);
    return WriteBytes(&v, 1);
  }
  if (Value >= -32768 && Value <= 32767) {
    WriteValue(vaInt16);
    uint16_t v = static_cast<uint16_t>(Value);
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    return WriteBytes(b, 2);
  }
  WriteValue(vaInt32);
  WriteInt32(Value);
}

void TWriter::WriteInt64(int64_t Value) {
  if (Value >= std::numeric_limits<int32_t>::min() && Value <= std::numeric_limits<int32_t>::max())
    return WriteInteger(static_cast<int32_t>(Value));
  WriteValue(vaInt64);
  uint64_t v = static_cast<uint64_t>(Value);
  uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = uint8_t(v >> (8 * i));
  WriteBytes(b, 8);
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteIdent(const QByteArray& Name) {
  WriteValue(vaIdent);
  WriteShortString(Name);
}

// The shortest faithful form: UTF-8 unless it is at least twice as long as
// UTF-16, and the 8-bit forms only for plain ASCII; an empty text is an
// empty short string.
void TWriter::WriteString(const QString& Value) {
  QByteArray utf8 = Value.toUtf8();
  if (utf8.size() < 2 * Value.size() || Value.isEmpty()) {
    if (utf8.size() > std::numeric_limits<int32_t>::max()) RaiseWrite();
    if (HasHighByte(utf8)) {
      WriteValue(vaUTF8String);
    } else if (utf8.size() > 255) {
      WriteValue(vaLString);
    } else {
      WriteValue(vaString);
      return WriteShortString(utf8);
    }
    WriteInt32(static_cast<int32_t>(utf8.size()));
    return WriteBytes(utf8.constData(), utf8.size());
  }
  if (Value.size() > std::numeric_limits<int32_t>::max() / 2) RaiseWrite();
  WriteValue(vaWString);
  WriteInt32(static_cast<int32_t>(Value.size()));
  QByteArray bytes(2 * Value.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < Value.size(); ++i) {
    char16_t u = Value[i].unicode();
    bytes[2 * i] = char(u & 0xFF);
    bytes[2 * i + 1] = char(u >> 8);
  }
  WriteBytes(bytes.constData(), bytes.size());
}

void TWriter::WriteBinary(const QByteArray& Bytes) {
  if (Bytes.size() > std::numeric_limits<int32_t>::max()) RaiseWrite();
  WriteValue(vaBinary);
  WriteInt32(static_cast<int32_t>(Bytes.size()));
  WriteBytes(Bytes.constData(), Bytes.size());
}

void TWriter::WriteSet(const TEnumType& Element, uint64_t Bits) {
  WriteValue(vaSet);
  for (size_t i = 0; i < Element.Names.size() && i < 64; ++i)
    if (Bits & (uint64_t(1) << i))
      WriteShortString(QByteArray::fromRawData(Element.Names[i], qsizetype(std::strlen(Element.Names[i]))));
  WriteShortString(QByteArray());
}

// ---------------------------------------------------------------------------
// Reader

void TReader::ReadRootObject(TPersistent& Root) {
  char signature[4];
  ReadExact(signature, 4);
  if (std::memcmp(signature, kSignature, 4) != 0) RaiseFormat();
  char buffer[256];
  fRootClassName = DecodedClassName(ReadShortInto(fStream, buffer));
  fRootComponentName = QString::fromUtf8(ReadShortInto(fStream, buffer));
  for (;;) {
    QByteArray path = ReadShortInto(fStream, buffer);
    if (path.isEmpty()) break;
    ReadProperty(Root, path);
  }
  if (ReadValue() != vaNull) RaiseFormat();
}

// Every segment but the last leads through a class-valued property; the
// last names a published property or else a defined one.
void TReader::ReadProperty(TPersistent& Root, const QByteArray& Path) {
  // The path's segments are looked at in place: every property read walks
  // one, so splitting it into new strings would cost more than the value.
  TPersistent* object = &Root;
  QByteArrayView rest(Path);
  // Paths are a few bytes long: a plain scan finds the dot sooner than a
  // general search sets out.
  const auto dotIn = [](QByteArrayView v) -> qsizetype {
    for (qsizetype i = 0; i < v.size(); ++i)
      if (v[i] == '.') return i;
    return -1;
  };
  for (qsizetype dot = dotIn(rest); dot >= 0; dot = dotIn(rest)) {
    const TPropInfo* prop = FindPublished(*object, rest.first(dot));
    if (!prop || prop->Kind != TTypeKind::Class || !prop->GetObject) RaiseMissing(Path);
    object = prop->GetObject(*object);
    if (!object) RaiseMissing(Path);
    rest = rest.sliced(dot + 1);
  }
  if (const TPropInfo* prop = FindPublished(*object, rest)) return ReadPublished(*object, *prop, Path);
  ReadDefined(*object, QByteArray::fromRawData(rest.data(), rest.size()), Path);
}

const TPropInfo* TReader::FindPublished(const TPersistent& Object, QByteArrayView Name) {
  const TPropList& list = Object.Properties();
  TLookupHint* hint = std::find_if(std::begin(fHints), std::end(fHints), [&](auto& h) { return h.List == &list; });
  if (hint == std::end(fHints)) {
    hint = &fHints[fOldestHint];
    fOldestHint = (fOldestHint + 1) % std::size(fHints);
    *hint = {&list, 0};
  }
  const size_t count = list.size();
  // From the last name found: a path through an inner object names it again
  // ("Pen.Color", "Pen.Width"), and the one after it is the next declared.
  for (size_t k = 0, i = hint->Last; k < count; ++k, i = i + 1 == count ? 0 : i + 1) {
    if (!SameName(list[i].Name, Name)) continue;
    hint->Last = i;
    return &list[i];
  }
  return nullptr;
}

void TReader::ReadPublished(TPersistent& Object, const TPropInfo& Prop, const QByteArray& Path) {
  if (Prop.Kind == TTypeKind::Class) {
    // An owned inner object cannot be replaced; an empty reference is accepted.
    if (ReadValue() != vaNil) RaiseValue();
    return;
  }
  if (Prop.Kind == TTypeKind::String) {
    QString value = ReadString();
    if (Prop.SetStr) Prop.SetStr(Object, value);
    return;
  }
  int64_t value = ReadOrdinal(Prop);
  if (Prop.SetOrd) Prop.SetOrd(Object, value);
}

int64_t TReader::ReadOrdinal(const TPropInfo& Prop) {
  TValueType tag = ReadValue();
  switch (Prop.Kind) {
    case TTypeKind::Integer:
      if (IsInt32Tag(tag)) return ReadIntegerPayload(tag);
      if (tag == vaIdent && Prop.Idents) {
        char buffer[256];
        QByteArray name = ReadShortInto(fStream, buffer);
        if (name.contains('\0')) RaiseValue();
        if (auto value = Prop.Idents->ToInt(name.constData())) return *value;
      }
      RaiseValue();
    case TTypeKind::Int64:
      if (IsInt32Tag(tag) || tag == vaInt64) return ReadIntegerPayload(tag);
      RaiseValue();
    case TTypeKind::Boolean:
      if (tag == vaFalse || tag == vaTrue) return tag == vaTrue;
      RaiseValue();
    case TTypeKind::Enumeration:
      if (tag == vaIdent) {
        char buffer[256];
        int value = FindEnumName(*Prop.Enum, ReadShortInto(fStream, buffer));
        if (value >= 0) return value;
      }
      RaiseValue();
    case TTypeKind::Set:
      if (tag == vaSet) return static_cast<int64_t>(ReadSetPayload(*Prop.Enum));
      RaiseValue();
    default: RaiseValue();
  }
}

uint64_t TReader::ReadSetPayload(const TEnumType& Element) {
  uint64_t bits = 0;
  char buffer[256];
  for (;;) {
    QByteArray name = ReadShortInto(fStream, buffer);
    if (name.isEmpty()) return bits;
    int value = FindEnumName(Element, name);
    if (value < 0 || value >= 64) RaiseValue();
    bits |= uint64_t(1) << value;
  }
}

void TReader::ReadDefined(TPersistent& Object, const QByteArray& Name, const QByteArray& Path) {
  QByteArray savedName = std::exchange(fPendingName, Name);
  bool savedFound = std::exchange(fPendingFound, false);
  bool found = false;
  try {
    Object.DefineProperties(*this);
    found = fPendingFound;
  } catch (...) {
    fPendingName = savedName;
    fPendingFound = savedFound;
    throw;
  }
  fPendingName = savedName;
  fPendingFound = savedFound;
  if (!found) RaiseMissing(Path);
}

void TReader::DefineProperty(const char* Name, const std::function<void(TReader&)>& ReadData,
                             const std::function<void(TWriter&)>&, bool) {
  if (fPendingFound || !SameName(Name, fPendingName)) return;
  fPendingFound = true;
  // Without a reader the value could not be consumed.
  if (!ReadData) RaiseValue();
  ReadData(*this);
}

void TReader::DefineBinaryProperty(const char* Name, const std::function<void(TStream&)>& ReadData,
                                   const std::function<void(TStream&)>&, bool) {
  if (fPendingFound || !SameName(Name, fPendingName)) return;
  fPendingFound = true;
  if (ReadValue() != vaBinary) RaiseValue();
  int64_t size = ReadLength(1);
  // The handler gets a stream of exactly the block, so whatever it reads or
  // leaves unread cannot shift the rest of the property stream.
  if (const uint8_t* inPlace = TStreamView::TakeInPlace(fStream, size)) {
    TStreamView block(inPlace, size);
    if (ReadData) ReadData(block);
    return;
  }
  TMemoryStream block;
  block.SetSize(size);
  ReadExact(block.Memory(), size);
  block.SetPosition(0);
  if (ReadData) ReadData(block);
}

TValueType TReader::NextValue() {
  TValueType tag = ReadValue();
  fStream.Seek(-1, soCurrent);
  return tag;
}

TValueType TReader::ReadValue() {
  uint8_t tag;
  ReadExact(&tag, 1);
  if (!IsKnownTag(tag)) RaiseFormat();
  return static_cast<TValueType>(tag);
}

int32_t TReader::ReadInteger() {
  TValueType tag = ReadValue();
  if (!IsInt32Tag(tag)) RaiseValue();
  return static_cast<int32_t>(ReadIntegerPayload(tag));
}

int64_t TReader::ReadInt64() {
  TValueType tag = ReadValue();
  if (!IsInt32Tag(tag) && tag != vaInt64) RaiseValue();
  return ReadIntegerPayload(tag);
}

bool TReader::ReadBoolean() {
  TValueType tag = ReadValue();
  if (tag != vaFalse && tag != vaTrue) RaiseValue();
  return tag == vaTrue;
}

QByteArray TReader::ReadIdent() {
  TValueType tag = ReadValue();
  if (tag == vaNil) return QByteArrayLiteral("nil");
  if (tag != vaIdent) RaiseValue();
  return ReadShortString();
}

QString TReader::ReadString() {
  TValueType tag = ReadValue();
  if (!IsStringTag(tag)) RaiseValue();
  return ReadStringPayload(tag);
}

QByteArray TReader::ReadShortString() {
  uint8_t length;
  ReadExact(&length, 1);
  char buffer[255];
  ReadExact(buffer, length);
  return QByteArray(buffer, length);
}

int64_t TReader::ReadIntegerPayload(TValueType Tag) {
  int size = Tag == vaInt8 ? 1 : Tag == vaInt16 ? 2 : Tag == vaInt32 ? 4 : 8;
  uint8_t b[8];
  ReadExact(b, size);
  uint64_t v = 0;
  for (int i = 0; i < size; ++i) v |= uint64_t(b[i]) << (8 * i);
  switch (size) {
    case 1: return static_cast<int8_t>(v);
    case 2: return static_cast<int16_t>(v);
    case 4: return static_cast<int32_t>(v);
    default: return static_cast<int64_t>(v);
  }
}

QString TReader::ReadStringPayload(TValueType Tag) {
  if (Tag == vaString) return QString::fromUtf8(ReadShortString());
  if (Tag == vaWString) return DecodeUtf16(ReadBytes(2 * ReadLength(2)));
  return QString::fromUtf8(ReadBytes(ReadLength(1)));
}

int64_t TReader::ReadLength(int64_t UnitSize) {
  uint8_t b[4];
  ReadExact(b, 4);
  int32_t length =
      static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
  if (length < 0) RaiseFormat();
  // Checked before anything is allocated for it.
  if (int64_t(length) * UnitSize > fStream.Remaining()) throw EReadError(QStringLiteral("Stream read error"));
  return length;
}

QByteArray TReader::ReadBytes(int64_t Count) {
  QByteArray bytes(Count, Qt::Uninitialized);
  ReadExact(bytes.data(), Count);
  return bytes;
}

void TReader::ReadExact(void* Buffer, int64_t Count) { fStream.ReadBuffer(Buffer, Count); }
