// The texts the typed trace calls send. Where a call takes a message, an
// empty message selects the call's own wording.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "Color.h"
#include "Types.h"

// "w 7" or "Integer: 7".
QString IntegerText(int64_t Value, const QString& AMsg);
// "True: w" or "True: a Boolean Value.".
QString BooleanText(bool Value, const QString& AMsg);
// "Assigned: w" or "Unassigned: a Pointer.".
QString AssignedText(const void* Value, const QString& AMsg);
// A colour's name ("clRed") or "$" and eight hex digits.
QString ColorName(TColor Color);
QString ColorText(TColor Color, const QString& AMsg);
// Shortest general decimal form.
QString FloatText(double Value, const QString& AMsg);
// "w 'A'(65/$41)" or "Char: 'A'(65/$41)".
QString CharText(QChar Value, const QString& AMsg);

constexpr const char* DefaultDateTimeFormat = "yyyy-mm-dd hh:nn:ss.zzz";
// Date-time directives: yyyy yy, mm m (month, or minutes right after an
// hour), dd d, hh h, nn n, ss s, zzz z; text in '...' or "..." is literal.
QString FormatDateTime(QStringView AFmt, const QDateTime& Value);
// AMsg directly followed by the formatted value, or "A Date/Time: " + it.
QString DateTimeText(const QDateTime& Value, QStringView AFmt, const QString& AMsg);

// The address as "$" and upper-case hex digits, two per pointer byte.
QString PointerHex(const void* Value);
// "w $..." or "Pointer Address: $...".
QString PointerText(const void* Value, const QString& AMsg);
// "(x,y)" and "((l,t),(r,b))".
QString PointString(const TPoint& Point);
QString RectString(const TRect& Rect);
QString PointText(const TPoint& Point, const QString& AMsg);
QString RectText(const TRect& Rect, const QString& AMsg);
// Each line followed by "\r\n", after AMsg and "\r\n" when AMsg is given.
QString StringsText(const QStringList& Strings, const QString& AMsg);

// "VK_RETURN" and so on; "VK_UNKNOWN" for a code without a name.
const char* VirtualKeyName(int AKey);
// "VirtualKey: 13($0D), VK_RETURN".
QString VirtualKeyText(int AKey);
// "Last Error (Code: 2): No such file or directory".
QString LastErrorText(int Code);
