#include "TraceTexts.h"

#include <cstring>

QString IntegerText(int64_t Value, const QString& AMsg) {
  if (AMsg.isEmpty()) return QStringLiteral("Integer: ") + QString::number(Value);
  return AMsg + QLatin1Char(' ') + QString::number(Value);
}

QString BooleanText(bool Value, const QString& AMsg) {
  const QString head = Value ? QStringLiteral("True: ") : QStringLiteral("False: ");
  return head + (AMsg.isEmpty() ? QStringLiteral("a Boolean Value.") : AMsg);
}

QString AssignedText(const void* Value, const QString& AMsg) {
  const QString head = Value ? QStringLiteral("Assigned: ") : QStringLiteral("Unassigned: ");
  return head + (AMsg.isEmpty() ? QStringLiteral("a Pointer.") : AMsg);
}

QString ColorName(TColor Color) {
  if (const char* name = ColorIdents.ToIdent(Color)) return QString::fromLatin1(name);
  return QLatin1Char('$') +
         QString::number(static_cast<uint32_t>(Color), 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

QString ColorText(TColor Color, const QString& AMsg) {
  if (AMsg.isEmpty()) return QStringLiteral("Color: ") + ColorName(Color);
  return AMsg + QLatin1Char(' ') + ColorName(Color);
}

QString FloatText(double Value, const QString& AMsg) {
  const QString number = QString::number(Value, 'g', QLocale::FloatingPointShortest);
  if (AMsg.isEmpty()) return QStringLiteral("Float: ") + number;
  return AMsg + QLatin1Char(' ') + number;
}

QString CharText(QChar Value, const QString& AMsg) {
  const QString tail = QStringLiteral("'%1'(%2/$%3)")
                           .arg(QString(Value))
                           .arg(Value.unicode())
                           .arg(QString::number(Value.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0')));
  if (AMsg.isEmpty()) return QStringLiteral("Char: ") + tail;
  return AMsg + QLatin1Char(' ') + tail;
}

namespace {

qsizetype RunLength(QStringView text, qsizetype pos) {
  qsizetype n = 1;
  while (pos + n < text.size() && text[pos + n].toLower() == text[pos].toLower()) ++n;
  return n;
}

QString Padded(int value, qsizetype width) { return QString::number(value).rightJustified(width, QLatin1Char('0')); }

}  // namespace

QString FormatDateTime(QStringView AFmt, const QDateTime& Value) {
  const QDate date = Value.date();
  const QTime time = Value.time();
  QString out;
  bool afterHour = false;
  for (qsizetype pos = 0; pos < AFmt.size();) {
    const QChar c = AFmt[pos];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      const qsizetype end = AFmt.indexOf(c, pos + 1);
      const qsizetype stop = end < 0 ? AFmt.size() : end;
      out += AFmt.mid(pos + 1, stop - pos - 1);
      pos = stop + 1;
      continue;
    }
    const qsizetype n = RunLength(AFmt, pos);
    const char k = static_cast<char>(c.toLower().unicode());
    const qsizetype two = n >= 2 ? 2 : 1;
    bool hour = false;
    switch (k) {
      case 'y': out += n >= 4 ? Padded(date.year(), 4) : Padded(date.year() % 100, 2); break;
      case 'm': out += afterHour ? Padded(time.minute(), two) : Padded(date.month(), two); break;
      case 'd': out += Padded(date.day(), two); break;
      case 'h':
        out += Padded(time.hour(), two);
        hour = true;
        break;
      case 'n': out += Padded(time.minute(), two); break;
      case 's': out += Padded(time.second(), two); break;
      case 'z': out += Padded(time.msec(), n >= 3 ? 3 : 1); break;
      default: out += AFmt.mid(pos, n); break;
    }
    if (k == 'y' || k == 'm' || k == 'd' || k == 'h' || k == 'n' || k == 's' || k == 'z') afterHour = hour;
    pos += n;
  }
  return out;
}

QString DateTimeText(const QDateTime& Value, QStringView AFmt, const QString& AMsg) {
  const QString text = FormatDateTime(AFmt, Value);
  return (AMsg.isEmpty() ? QStringLiteral("A Date/Time: ") : AMsg) + text;
}

QString PointerHex(const void* Value) {
  return QLatin1Char('$') + QString::number(reinterpret_cast<uintptr_t>(Value), 16)
                                .toUpper()
                                .rightJustified(static_cast<qsizetype>(sizeof(void*) * 2), QLatin1Char('0'));
}

QString PointerText(const void* Value, const QString& AMsg) {
  if (AMsg.isEmpty()) return QStringLiteral("Pointer Address: ") + PointerHex(Value);
  return AMsg + QLatin1Char(' ') + PointerHex(Value);
}

QString PointString(const TPoint& Point) { return QStringLiteral("(%1,%2)").arg(Point.X).arg(Point.Y); }

QString RectString(const TRect& Rect) {
  return QLatin1Char('(') + PointString(Rect.TopLeft()) + QLatin1Char(',') + PointString(Rect.BottomRight()) +
         QLatin1Char(')');
}

QString PointText(const TPoint& Point, const QString& AMsg) {
  if (AMsg.isEmpty()) return QStringLiteral("Point: ") + PointString(Point);
  return AMsg + QLatin1Char(' ') + PointString(Point);
}

QString RectText(const TRect& Rect, const QString& AMsg) {
  if (AMsg.isEmpty()) return QStringLiteral("Rect: ") + RectString(Rect);
  return AMsg + QLatin1Char(' ') + RectString(Rect);
}

QString StringsText(const QStringList& Strings, const QString& AMsg) {
  QString text;
  for (const QString& line : Strings) text += line + QStringLiteral("\r\n");
  if (AMsg.isEmpty()) return text;
  return AMsg + QStringLiteral("\r\n") + text;
}

QString VirtualKeyText(int AKey) {
  return QStringLiteral("VirtualKey: %1($%2), %3")
      .arg(AKey)
      .arg(QString::number(static_cast<uint32_t>(AKey), 16).toUpper().rightJustified(2, QLatin1Char('0')))
      .arg(QString::fromLatin1(VirtualKeyName(AKey)));
}

QString LastErrorText(int Code) {
  char buffer[256] = {};
  const char* message = ::strerror_r(Code, buffer, sizeof buffer);
  if (!message || !*message) return QStringLiteral("Unknown Error! ");
  return QStringLiteral("Last Error (Code: %1): %2").arg(Code).arg(QString::fromLocal8Bit(message));
}
