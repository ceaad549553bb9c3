// Documents and object records written byte by byte, to check what the
// graph writes and to feed it what it must read.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "Filer.h"

inline void PutShort(QByteArray& B, const QByteArray& Text) {
  B.append(char(Text.size()));
  B.append(Text);
}

inline void PutInt32(QByteArray& B, int32_t V) {
  for (int i = 0; i < 4; ++i) B.append(char(uint32_t(V) >> (8 * i)));
}

inline QByteArray Int8Prop(const char* Name, int8_t Value) {
  QByteArray b;
  PutShort(b, Name);
  b.append(char(vaInt8)).append(char(Value));
  return b;
}

inline QByteArray Int32Prop(const char* Name, int32_t Value) {
  QByteArray b;
  PutShort(b, Name);
  b.append(char(vaInt32));
  PutInt32(b, Value);
  return b;
}

inline QByteArray IdentProp(const char* Name, const char* Ident) {
  QByteArray b;
  PutShort(b, Name);
  b.append(char(vaIdent));
  PutShort(b, Ident);
  return b;
}

// One object record: name size, class name, then the wrapped property stream.
inline QByteArray Record(const QByteArray& ClassName, int8_t ID, const QByteArray& Properties) {
  QByteArray b;
  PutInt32(b, int32_t(ClassName.size() + 1));
  PutShort(b, ClassName);
  b.append("TPF0");
  PutShort(b, "TGraphStreamableObject");
  b.append('\0');
  b.append(Int8Prop("ID", ID));
  b.append(Properties);
  b.append('\0').append('\0');
  return b;
}

inline QByteArray Document(int32_t Count, const QByteArray& Records) {
  QByteArray b("0.GS");
  PutInt32(b, Count);
  return b + Records;
}
