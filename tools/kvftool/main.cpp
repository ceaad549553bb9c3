// kvftool COMMAND ARGS...: dump, rewrite, export or thumbnail plan
// documents (*.kvf). Exit status: 0 done, 1 the command failed (message on
// standard error), 2 wrong usage (the usage on standard error). --help or -h
// prints the usage on standard output, --version the version.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>

#include "Exceptions.h"
#include "KvfTool.h"

namespace {

constexpr TKvfCommand kCommands[] = {
    {"dump", "FILE", 1, RunDump},
    {"resave", "IN OUT", 2, RunResave},
    {"export", "IN OUT [--scale 1:N]", 2, RunExport, 2},
    {"thumbnail", "-s SIZE IN OUT", 4, RunThumbnail},
};

void PrintUsage(std::FILE* Stream) {
  std::fputs("usage:\n", Stream);
  for (const TKvfCommand& c : kCommands) std::fprintf(Stream, "  kvftool %s %s\n", c.Name, c.Arguments);
}

int Usage() {
  PrintUsage(stderr);
  return 2;
}

bool AsksForHelp(int argc, char** argv) {
  return argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}

bool AsksForVersion(int argc, char** argv) { return argc == 2 && std::strcmp(argv[1], "--version") == 0; }

// Qt warns on standard error when XDG_RUNTIME_DIR is unset (batch jobs,
// su, containers); such a run gets a private one (mode 0700) of its own,
// removed when the run ends.
std::optional<QTemporaryDir> PrivateRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return std::nullopt;
  std::optional<QTemporaryDir> dir(std::in_place, QDir::tempPath() + QStringLiteral("/kvftool-runtime-XXXXXX"));
  if (!dir->isValid()) return std::nullopt;
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir->path()));
  return dir;
}

const TKvfCommand* FindCommand(const char* Name) {
  for (const TKvfCommand& c : kCommands)
    if (std::strcmp(c.Name, Name) == 0) return &c;
  return nullptr;
}

void Fail(const QString& Message) { std::fprintf(stderr, "kvftool: %s\n", Message.toLocal8Bit().constData()); }

}  // namespace

int main(int argc, char** argv) {
  if (AsksForHelp(argc, argv)) {
    PrintUsage(stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (AsksForVersion(argc, argv)) {
    std::fputs("kvftool " HUXING_VERSION "\n", stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  const TKvfCommand* command = argc >= 2 ? FindCommand(argv[1]) : nullptr;
  if (!command || argc - 2 < command->ArgumentCount || argc - 2 > command->ArgumentCount + command->OptionalCount)
    return Usage();
  // The graph control is a widget; no screen is needed to load or save.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::optional<QTemporaryDir> runtimeDir = PrivateRuntimeDir();
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
