#include "TraceRecordText.h"

#include <QDateTime>
#include <QTimeZone>

#include "IntMath.h"

namespace {

QString Escaped(const QByteArray& Bytes) {
  QByteArray out;
  out.reserve(Bytes.size());
  for (char c : Bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (u < 0x20 || u == 0x7F)
      out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
    else
      out += c;
  }
  return QString::fromUtf8(out);
}

QString HexBytes(const char* Bytes, uint32_t Count) {
  return QString::fromLatin1(QByteArray(Bytes, static_cast<qsizetype>(Count)).toHex(' ').toUpper());
}

uint32_t TextSize(const TTraceRecord& Record) {
  if (Record.Length <= TraceRecordHeaderSize) return 0;
  const uint32_t size = Record.Length - TraceRecordHeaderSize;
  return size < TraceMaxTextSize ? size : TraceMaxTextSize;
}

}  // namespace

QString TraceStampText(uint32_t StampKind, double Stamp) {
  if (StampKind != 1) return QString::number(Stamp, 'g', 17);
  const QDateTime origin(QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc());
  return origin.addMSecs(Round64(Stamp * 86400000.0)).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString TraceRecordLine(const TTraceRecord& Record) {
  const uint32_t size = TextSize(Record);
  QString text = Record.MsgType == tmtMemoryDump ? HexBytes(Record.MsgText, size)
                                                 : Escaped(QByteArray(Record.MsgText, static_cast<qsizetype>(size)));
  if (Record.MsgType == tmtTimeMarkStop) text += QStringLiteral(" [%1 cycles]").arg(Record.CPUPeriod);
  const QByteArray tag(Record.Tag, static_cast<qsizetype>(qstrnlen(Record.Tag, sizeof Record.Tag)));
  const QChar tab = QLatin1Char('\t');
  return TraceStampText(Record.StampKind, Record.Stamp) + tab + QString::number(Record.ProcessId) + tab +
         QString::number(Record.ThreadId) + tab + QString::number(Record.Level) + tab + QString::number(Record.Indent) +
         tab + QString::fromLatin1(TraceMsgTypeName(Record.MsgType)) + tab + Escaped(tag) + tab + text;
}
