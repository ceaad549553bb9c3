// The subcommands of kvftool and what they share.
#pragma once

#include <QStringList>
#include <memory>

class QImage;
class TGraphEditor;

// One subcommand: its name, the arguments it takes (for the usage text),
// how many, and what it runs. Run answers the exit status: 0 done, 1 failed,
// 2 wrong usage.
// Errors are raised as exceptions; main reports them.
struct TKvfCommand {
  const char* Name;
  const char* Arguments;
  int ArgumentCount;
  int (*Run)(const QStringList& Arguments);
  int OptionalCount = 0;  // arguments that may follow the required ones
};

int RunDump(const QStringList& Arguments);
int RunResave(const QStringList& Arguments);
int RunExport(const QStringList& Arguments);
int RunThumbnail(const QStringList& Arguments);

// A graph control with every plan class registered, ready to load documents.
std::unique_ptr<TGraphEditor> NewDocumentGraph();

// Image as a PNG file under FileName; raises the file errors a save raises.
void WritePngFile(const QImage& Image, const QString& FileName);
