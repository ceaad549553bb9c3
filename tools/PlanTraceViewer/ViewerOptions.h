// PlanTraceViewer's command line.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "TraceFilter.h"

struct TViewerOptions {
  uint32_t AttachedProcess = 0;  // -a: started by this process
  bool KeepRunning = false;      // -k: stay after the attached process ended
  int64_t RecordLimit = 0;       // -n: end after this many records (0: no limit)
  QString OutputFile;            // -o: lines go here instead of standard output
  uint32_t QueueSize = 0;        // -q: queue bytes (0: default)
  bool FilterGiven = false;
  TTraceFilter Filter;  // -l, -t, -m
  bool ShowHelp = false;
  QString Error;  // set when the command line is wrong

  static TViewerOptions Parse(const QStringList& Arguments);
  static QString Usage();
};
