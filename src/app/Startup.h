// The designer's start-up and its process-wide values.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "DesignerTitle.h"

class THouseDesigner;

// The executable's folder, ending in "/": set first at start-up.
extern QString AppDir;
// The folder of the program's data (palette pictures, help page, sample
// plan), ending in "/": set with AppDir from DataDirFor.
extern QString DataDir;
// The first command-line argument exactly as typed; may be empty.
extern QString FileToLoad;
// The application title, shown in window captions.
extern QString ApplicationTitle;

// The title captions and message boxes show.
inline QString Title() { return ApplicationTitle.isEmpty() ? DesignerTitle : ApplicationTitle; }

// The data folder of a program in AppDirectory (ending in "/"): the
// program's own folder when it holds the palette pictures (as the build
// leaves it), else the installed share folder beside its bin folder
// ("../share/huxing/") when that holds them; the program's own folder
// again when neither does.
QString DataDirFor(const QString& AppDirectory);

// Start-up after the application object exists: AppDir and DataDir from
// ExecutablePath,
// the plan classes registered, the title, the "LoadFile: " trace,
// FileToLoad from Arguments (the command line without the program), the
// main window, then the updater refreshed and launched. The window is
// returned unshown; its first showing opens FileToLoad.
std::unique_ptr<THouseDesigner> StartDesigner(const QString& ExecutablePath, const QStringList& Arguments);

// The whole program: the command line (--help and --version answered
// without a window), application, start-up, window, message loop.
int RunDesigner(int argc, char** argv);
