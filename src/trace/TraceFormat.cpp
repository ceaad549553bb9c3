#include "TraceFormat.h"

#include <cmath>
#include <cstdio>

uint32_t TTraceArg::Value32() const {
  switch (fKind) {
    case akInteger:
    case akBoolean: return static_cast<uint32_t>(fInteger);
    case akUnsigned: return static_cast<uint32_t>(fUnsigned);
    case akChar: return fChar.unicode();
    case akPointer: return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(fPointer));
    case akFloat:
      if (!std::isfinite(fFloat)) return 0;
      if (fFloat >= 2147483647.0) return 0x7FFFFFFFu;
      if (fFloat <= -2147483648.0) return 0x80000000u;
      return static_cast<uint32_t>(static_cast<int32_t>(fFloat));
    case akString: return static_cast<uint32_t>(fString.size());
  }
  return 0;
}

namespace {

struct TDirective {
  bool LeftAlign = false;
  int Width = -1;
  int Precision = -1;
  QChar Type;
};

// Walks one format text, consuming arguments in order (or from an index).
class TFormatter {
 public:
  TFormatter(QStringView Format, std::span<const TTraceArg> Args) : fFormat(Format), fArgs(Args) {}

  std::optional<QString> Run() {
    while (fPos < fFormat.size()) {
      const QChar c = fFormat[fPos++];
      if (c != QLatin1Char('%')) {
        fOut += c;
        continue;
      }
      if (!Directive()) return std::nullopt;
    }
    return fOut;
  }

 private:
  bool AtEnd() const { return fPos >= fFormat.size(); }
  QChar Peek() const { return AtEnd() ? QChar() : fFormat[fPos]; }

  bool Directive() {
    if (Peek() == QLatin1Char('%')) {
      ++fPos;
      fOut += QLatin1Char('%');
      return true;
    }
    TDirective d;
    int number = -1;
    if (!Number(number)) return false;
    if (Peek() == QLatin1Char(':')) {
      ++fPos;
      if (number < 0) return false;
      fNext = number;
      number = -1;
    }
    if (number < 0 && Peek() == QLatin1Char('-')) {
      ++fPos;
      d.LeftAlign = true;
    }
    if (number < 0 && !Number(number)) return false;
    d.Width = number;
    if (Peek() == QLatin1Char('.')) {
      ++fPos;
      if (!Number(d.Precision) || d.Precision < 0) return false;
    }
    if (AtEnd()) return false;
    d.Type = fFormat[fPos++].toLower();
    QString text;
    if (!Convert(d, text)) return false;
    Pad(d, text);
    return true;
  }

  // Digits or "*" (the next argument); -1 when there is neither.
  bool Number(int& Value) {
    if (Peek() == QLatin1Char('*')) {
      ++fPos;
      const TTraceArg* arg = NextArg();
      if (!arg || arg->Kind() != TTraceArg::akInteger) return false;
      Value = static_cast<int>(arg->Integer());
      return true;
    }
    if (!Peek().isDigit()) return true;
    int64_t v = 0;
    while (Peek().isDigit() && v < 100000) v = v * 10 + (fFormat[fPos++].unicode() - '0');
    if (Peek().isDigit()) return false;
    Value = static_cast<int>(v);
    return true;
  }

  const TTraceArg* NextArg() {
    if (fNext < 0 || fNext >= static_cast<int>(fArgs.size())) return nullptr;
    return &fArgs[static_cast<size_t>(fNext++)];
  }

  bool Convert(const TDirective& d, QString& text) {
    const TTraceArg* arg = NextArg();
    if (!arg) return false;
    switch (d.Type.unicode()) {
      case 'd': return Decimal(*arg, d.Precision, text);
      case 'u': return Unsigned(*arg, d.Precision, 10, text);
      case 'x': return Unsigned(*arg, d.Precision, 16, text);
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': return Float(*arg, d, text);
      case 's': return String(*arg, d.Precision, text);
      case 'p': return Pointer(*arg, text);
      default: return false;
    }
  }

  static bool Decimal(const TTraceArg& arg, int precision, QString& text) {
    if (arg.Kind() == TTraceArg::akUnsigned) return Unsigned(arg, precision, 10, text);
    if (arg.Kind() != TTraceArg::akInteger && arg.Kind() != TTraceArg::akBoolean) return false;
    const int64_t v = arg.Integer();
    QString digits = QString::number(v < 0 ? -static_cast<uint64_t>(v) : static_cast<uint64_t>(v));
    ZeroPad(digits, precision);
    text = v < 0 ? QLatin1Char('-') + digits : digits;
    return true;
  }

  // A negative number within 32 bits is read as its 32-bit pattern.
  static bool Unsigned(const TTraceArg& arg, int precision, int base, QString& text) {
    uint64_t v = 0;
    if (arg.Kind() == TTraceArg::akUnsigned) {
      v = arg.Unsigned();
    } else if (arg.Kind() == TTraceArg::akInteger || arg.Kind() == TTraceArg::akBoolean) {
      const int64_t i = arg.Integer();
      v = (i < 0 && i >= INT32_MIN) ? static_cast<uint32_t>(i) : static_cast<uint64_t>(i);
    } else {
      return false;
    }
    text = QString::number(v, base).toUpper();
    ZeroPad(text, precision);
    return true;
  }

  static bool Float(const TTraceArg& arg, const TDirective& d, QString& text) {
    if (arg.Kind() != TTraceArg::akFloat) return false;
    const double v = arg.Float();
    const char type = static_cast<char>(d.Type.unicode());
    if (type == 'e') return Scientific(v, d.Precision < 0 ? 15 : d.Precision, text);
    if (type == 'g') return General(v, d.Precision < 0 ? 15 : d.Precision, text);
    const int decimals = d.Precision < 0 ? 2 : d.Precision;
    text = QString::number(v, 'f', decimals > 18 ? 18 : decimals);
    if (type == 'n' || type == 'm') text = WithThousands(text);
    return true;
  }

  static bool Scientific(double v, int precision, QString& text) {
    precision = precision < 1 ? 1 : (precision > 18 ? 18 : precision);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*E", precision - 1, v);
    QString s = QString::fromLatin1(buffer);
    const qsizetype e = s.indexOf(QLatin1Char('E'));
    if (e < 0) {
      text = s;
      return true;
    }
    QString exponent = s.mid(e + 2);
    ZeroPad(exponent, 3);
    text = s.left(e + 2) + exponent;
    return true;
  }

  static bool General(double v, int precision, QString& text) {
    precision = precision < 1 ? 1 : (precision > 18 ? 18 : precision);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, v);
    QString s = QString::fromLatin1(buffer);
    const qsizetype e = s.indexOf(QLatin1Char('E'));
    if (e >= 0) {
      QString exponent = s.mid(e + 1);
      const bool negative = exponent.startsWith(QLatin1Char('-'));
      exponent.remove(0, 1);
      while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0'))) exponent.remove(0, 1);
      s = s.left(e + 1) + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    text = s;
    return true;
  }

  static QString WithThousands(const QString& fixed) {
    const bool negative = fixed.startsWith(QLatin1Char('-'));
    const QString body = negative ? fixed.mid(1) : fixed;
    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? body : body.left(dot);
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
      if (i > 0 && (whole.size() - i) % 3 == 0) grouped += QLatin1Char(',');
      grouped += whole[i];
    }
    return (negative ? QStringLiteral("-") : QString()) + grouped + (dot < 0 ? QString() : body.mid(dot));
  }

  static bool String(const TTraceArg& arg, int precision, QString& text) {
    if (arg.Kind() == TTraceArg::akString) {
      text = arg.String();
    } else if (arg.Kind() == TTraceArg::akChar) {
      text = QString(arg.Char());
    } else if (arg.Kind() == TTraceArg::akBoolean) {
      text = arg.Integer() ? QStringLiteral("True") : QStringLiteral("False");
    } else {
      return false;
    }
    if (precision >= 0 && text.size() > precision) text.truncate(precision);
    return true;
  }

  static bool Pointer(const TTraceArg& arg, QString& text) {
    if (arg.Kind() != TTraceArg::akPointer) return false;
    text = QString::number(reinterpret_cast<uintptr_t>(arg.Pointer()), 16).toUpper();
    ZeroPad(text, static_cast<int>(sizeof(void*) * 2));
    return true;
  }

  static void ZeroPad(QString& digits, int least) {
    if (least > 0 && digits.size() < least) digits.prepend(QString(least - digits.size(), QLatin1Char('0')));
  }

  void Pad(const TDirective& d, const QString& text) {
    const qsizetype fill = d.Width > text.size() ? d.Width - text.size() : 0;
    if (!d.LeftAlign) fOut += QString(fill, QLatin1Char(' '));
    fOut += text;
    if (d.LeftAlign) fOut += QString(fill, QLatin1Char(' '));
  }

  QStringView fFormat;
  std::span<const TTraceArg> fArgs;
  qsizetype fPos = 0;
  int fNext = 0;
  QString fOut;
};

}  // namespace

std::optional<QString> TraceFormat(QStringView Format, std::span<const TTraceArg> Args) {
  return TFormatter(Format, Args).Run();
}

QString SafeFormat(QStringView Format, std::span<const TTraceArg> Args) {
  if (auto text = TraceFormat(Format, Args)) return *text;
  QString text = QStringLiteral("Format Error! Format String: ") + Format.toString() + QStringLiteral(". ");
  if (Args.empty()) return text;
  text += QStringLiteral("\r\nHex Params:");
  for (const TTraceArg& arg : Args) text += QStringLiteral(" %1").arg(arg.Value32(), 8, 16, QLatin1Char('0')).toUpper();
  return text;
}
