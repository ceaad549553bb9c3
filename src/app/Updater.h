// The external updater: fresh copies of AutoUpdate and Update.ini go into
// AppDir's "setup" folder and the copy is started without waiting, with the
// settings copy's quoted path as its one parameter. Every step that lacks
// its file, or fails, is skipped silently; without either file beside the
// program no "setup" folder is made.
#pragma once

#include <QString>

// AppDirectory ends in "/".
void RefreshAndLaunchUpdater(const QString& AppDirectory);

// Copies Source over Target; answers false (and leaves Target as it was)
// when Source is missing or the copy fails.
bool CopyFileOverwriting(const QString& Source, const QString& Target);

// Runs Program without waiting, its parameters parsed from one command-line
// string as a shell would ("\"/a b/Update.ini\"" is one argument). Answers
// whether it started.
bool LaunchDetached(const QString& Program, const QString& Parameters);
