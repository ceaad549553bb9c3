// One argument of a formatted trace message ("%d-%d" with {Category, Item}).
#pragma once

#include <QChar>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

class TTraceArg {
 public:
  enum TKind { akInteger, akUnsigned, akFloat, akString, akChar, akPointer, akBoolean };

  template <class T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
           !std::is_same_v<T, char16_t> && std::is_signed_v<T>) TTraceArg(T Value)
      : fKind(akInteger), fInteger(Value) {}
  template <class T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
           !std::is_same_v<T, char16_t> && std::is_unsigned_v<T>) TTraceArg(T Value)
      : fKind(akUnsigned), fUnsigned(Value) {}
  template <class T>
  requires std::is_enum_v<T> TTraceArg(T Value) : fKind(akInteger), fInteger(static_cast<int64_t>(Value)) {}
  TTraceArg(bool Value) : fKind(akBoolean), fInteger(Value ? 1 : 0) {}
  TTraceArg(double Value) : fKind(akFloat), fFloat(Value) {}
  TTraceArg(char Value) : fKind(akChar), fChar(QChar::fromLatin1(Value)) {}
  TTraceArg(char16_t Value) : fKind(akChar), fChar(Value) {}
  TTraceArg(QChar Value) : fKind(akChar), fChar(Value) {}
  TTraceArg(const char* Value) : fKind(akString), fString(QString::fromUtf8(Value)) {}
  TTraceArg(const std::string& Value) : fKind(akString), fString(QString::fromStdString(Value)) {}
  TTraceArg(QString Value) : fKind(akString), fString(std::move(Value)) {}
  TTraceArg(const void* Value) : fKind(akPointer), fPointer(Value) {}
  TTraceArg(std::nullptr_t) : fKind(akPointer), fPointer(nullptr) {}

  TKind Kind() const { return fKind; }
  int64_t Integer() const { return fInteger; }
  uint64_t Unsigned() const { return fUnsigned; }
  double Float() const { return fFloat; }
  const QString& String() const { return fString; }
  QChar Char() const { return fChar; }
  const void* Pointer() const { return fPointer; }

  // The argument as one 32-bit number, for the hex list of a failed format:
  // integers, Booleans and characters by value, pointers by their address's
  // low bits, floating-point numbers truncated, texts by their length.
  uint32_t Value32() const;

 private:
  TKind fKind;
  union {
    int64_t fInteger;
    uint64_t fUnsigned;
    double fFloat;
    const void* fPointer;
  };
  QChar fChar;
  QString fString;
};

using TTraceArgs = std::initializer_list<TTraceArg>;
