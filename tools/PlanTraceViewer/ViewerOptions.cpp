#include "ViewerOptions.h"

namespace {

bool ToNumber(const QString& Text, int64_t Low, int64_t High, int64_t& Value) {
  bool ok = false;
  Value = Text.toLongLong(&ok);
  return ok && Value >= Low && Value <= High;
}

// "0,2" or "Error,Warning" or "tmtError".
bool ToTypes(const QString& Text, TTraceMsgTypes& Types) {
  Types = 0;
  for (const QString& part : Text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString item = part.trimmed();
    int64_t ordinal = -1;
    if (!ToNumber(item, 0, 15, ordinal)) {
      for (int t = 0; t < TraceMsgTypeCount; ++t) {
        const QString name = QString::fromLatin1(TraceMsgTypeName(t));
        if (item.compare(name, Qt::CaseInsensitive) == 0 || item.compare(name.mid(3), Qt::CaseInsensitive) == 0)
          ordinal = t;
      }
    }
    if (ordinal < 0) return false;
    Types |= static_cast<TTraceMsgTypes>(1u << ordinal);
  }
  return Types != 0;
}

}  // namespace

TViewerOptions TViewerOptions::Parse(const QStringList& Arguments) {
  TViewerOptions o;
  for (qsizetype i = 0; i < Arguments.size(); ++i) {
    const QString flag = Arguments[i];
    if (flag == QStringLiteral("-h") || flag == QStringLiteral("--help")) {
      o.ShowHelp = true;
      continue;
    }
    if (flag == QStringLiteral("-k")) {
      o.KeepRunning = true;
      continue;
    }
    if (i + 1 >= Arguments.size()) {
      o.Error = QStringLiteral("Unknown option or missing value: %1").arg(flag);
      return o;
    }
    const QString value = Arguments[++i];
    int64_t n = 0;
    bool ok = true;
    if (flag == QStringLiteral("-a")) {
      ok = ToNumber(value, 1, INT32_MAX, n);
      o.AttachedProcess = static_cast<uint32_t>(n);
    } else if (flag == QStringLiteral("-n")) {
      ok = ToNumber(value, 1, INT64_MAX, n);
      o.RecordLimit = n;
    } else if (flag == QStringLiteral("-o")) {
      o.OutputFile = value;
    } else if (flag == QStringLiteral("-q")) {
      ok = ToNumber(value, 1, UINT32_MAX, n);
      o.QueueSize = static_cast<uint32_t>(n);
    } else if (flag == QStringLiteral("-l")) {
      ok = ToNumber(value, INT32_MIN, INT32_MAX, n);
      o.Filter.SetLevel(static_cast<int32_t>(n));
      o.FilterGiven = true;
    } else if (flag == QStringLiteral("-t")) {
      o.Filter.SetTag(value);
      o.FilterGiven = true;
    } else if (flag == QStringLiteral("-m")) {
      TTraceMsgTypes types = 0;
      ok = ToTypes(value, types);
      o.Filter.SetMsgTypes(types);
      o.FilterGiven = true;
    } else {
      ok = false;
    }
    if (!ok) {
      o.Error = QStringLiteral("Invalid option: %1 %2").arg(flag, value);
      return o;
    }
  }
  o.Filter.SetEnabled(o.FilterGiven);
  return o;
}

QString TViewerOptions::Usage() {
  return QStringLiteral(
      "Usage: PlanTraceViewer [-a PID [-k]] [-n COUNT] [-o FILE] [-q BYTES] [-l LEVEL] [-t TAG] [-m TYPES]\n"
      "Prints every trace record as one tab-separated line:\n"
      "  time, process, thread, level, indentation, type, tag, text.\n"
      "  -a PID    started by process PID: tell it when ready, end after it ended\n"
      "  -k        with -a: keep running after that process ended\n"
      "  -n COUNT  end after COUNT records\n"
      "  -o FILE   write the lines to FILE instead of standard output\n"
      "  -q BYTES  size of the record queue (default 1048576)\n"
      "  -l LEVEL  filter: highest level that passes\n"
      "  -t TAG    filter: only this tag (up to 4 characters, any letter case)\n"
      "  -m TYPES  filter: only these message types, e.g. 1,2 or Warning,Error\n"
      "Ends on Ctrl+C. PLANTRACE_NAMESPACE selects the shared objects' names.\n");
}
