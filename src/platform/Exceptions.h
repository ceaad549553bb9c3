// One exception base carrying the message the user sees, and the classes
// the program raises. Messages are the program's own texts.
#pragma once

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : fMessage(std::move(message)), fUtf8(fMessage.toStdString()) {}
  const QString& Message() const { return fMessage; }
  const char* what() const noexcept override { return fUtf8.c_str(); }

 private:
  QString fMessage;
  std::string fUtf8;
};

#define HUXING_EXCEPTION(Name, Base) \
  class Name : public Base {         \
   public:                           \
    using Base::Base;                \
  }

HUXING_EXCEPTION(EListError, Exception);      // "Index out of range (%d)", ...
HUXING_EXCEPTION(EConvertError, Exception);   // assignment between unrelated classes
HUXING_EXCEPTION(EAbstractError, Exception);  // an abstract operation was called
HUXING_EXCEPTION(EStreamError, Exception);
HUXING_EXCEPTION(EReadError, EStreamError);           // "Stream read error", property reader errors
HUXING_EXCEPTION(EWriteError, EStreamError);          // "Stream write error"
HUXING_EXCEPTION(EFOpenError, EStreamError);          // a file cannot be opened
HUXING_EXCEPTION(EFCreateError, EStreamError);        // a file cannot be created
HUXING_EXCEPTION(EClassNotFound, EReadError);         // "Class %s not found"
HUXING_EXCEPTION(EInvalidGraphic, Exception);         // a picture cannot be read
HUXING_EXCEPTION(EPictureTooLarge, EInvalidGraphic);  // "图片太大", decoded size beyond the limit
HUXING_EXCEPTION(EOutOfResources, Exception);         // memory block cannot be allocated

#undef HUXING_EXCEPTION

// Text taken from a document, made safe to show in a message: control and
// format characters (escape sequences, bidirectional overrides) become
// \xNN or \uNNNN, and a backslash is doubled so the escapes stay
// unambiguous.
inline QString EscapedForMessage(const QString& Text) {
  QString out;
  out.reserve(Text.size());
  for (QChar c : Text) {
    const char16_t u = c.unicode();
    if (u == u'\\')
      out += QStringLiteral("\\\\");
    else if (c.category() == QChar::Other_Control)
      out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
    else if (c.category() == QChar::Other_Format)
      out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

// "Index out of range (%d)" and the like: a message with one integer.
inline QString FormatMessage(const char* format, long long value) {
  return QString::fromUtf8(format).replace(QStringLiteral("%d"), QString::number(value));
}
// The value is a name read from a document and is escaped.
inline QString FormatMessage(const char* format, const QString& value) {
  return QString::fromUtf8(format).replace(QStringLiteral("%s"), EscapedForMessage(value));
}

[[noreturn]] inline void RaiseAbstract() { throw EAbstractError(QStringLiteral("Abstract Error")); }
