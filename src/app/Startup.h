// The designer's start-up and its process-wide values.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class THouseDesigner;

// The executable's folder, ending in "/": set first at start-up.
extern QString AppDir;
// The first command-line argument exactly as typed; may be empty.
extern QString FileToLoad;
// The application title, shown in window captions.
extern QString ApplicationTitle;

inline const QString DesignerTitle = QStringLiteral("户型图设计器");

// The title captions and message boxes show.
inline QString Title() { return ApplicationTitle.isEmpty() ? DesignerTitle : ApplicationTitle; }

// Start-up after the application object exists: AppDir from ExecutablePath,
// the plan classes registered, the title, the "LoadFile: " trace,
// FileToLoad from Arguments (the command line without the program), the
// main window, then the updater refreshed and launched. The window is
// returned unshown; its first showing opens FileToLoad.
std::unique_ptr<THouseDesigner> StartDesigner(const QString& ExecutablePath, const QStringList& Arguments);

// The whole program: application, start-up, window, message loop.
int RunDesigner(int argc, char** argv);
