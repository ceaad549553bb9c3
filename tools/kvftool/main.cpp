// kvftool COMMAND ARGS...: dump, rewrite or export plan documents (*.kvf).
// Exit status: 0 done, 1 the command failed (message on standard error),
// 2 wrong usage.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <span>

#include "Exceptions.h"
#include "KvfTool.h"

namespace {

constexpr TKvfCommand kCommands[] = {
    {"dump", "FILE", 1, RunDump},
    {"resave", "IN OUT", 2, RunResave},
    {"export", "IN OUT", 2, RunExport},
};

int Usage() {
  std::fputs("usage:\n", stderr);
  for (const TKvfCommand& c : kCommands) std::fprintf(stderr, "  kvftool %s %s\n", c.Name, c.Arguments);
  return 2;
}

const TKvfCommand* FindCommand(const char* Name) {
  for (const TKvfCommand& c : kCommands)
    if (std::strcmp(c.Name, Name) == 0) return &c;
  return nullptr;
}

void Fail(const QString& Message) { std::fprintf(stderr, "kvftool: %s\n", Message.toLocal8Bit().constData()); }

}  // namespace

int main(int argc, char** argv) {
  const TKvfCommand* command = argc >= 2 ? FindCommand(argv[1]) : nullptr;
  if (!command || argc - 2 != command->ArgumentCount) return Usage();
  // The graph control is a widget; no screen is needed to load or save.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStringList arguments;
  for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  try {
    return command->Run(arguments);
  } catch (const Exception& e) {
    Fail(e.Message());
  } catch (const std::exception& e) {
    Fail(QString::fromLocal8Bit(e.what()));
  }
  return 1;
}
