// The languages the program speaks beyond its own Chinese: Qt's own texts
// (dialog buttons, file dialogs) and the designer's English translation.
#pragma once

#include <QString>

#include "InterfaceLanguage.h"

// Loads Qt's own translations (message box buttons, file dialogs) for the
// default locale, replacing any loaded before; needs the application
// object. Answers whether one was found (none is needed for English).
bool LoadQtTranslations();

// Installs the designer's translation for the interface language from
// DataDirectory's "translations" folder, replacing any installed before;
// Chinese needs none. Answers whether the interface speaks the language
// chosen (true for Chinese; for English, whether the translation loaded).
bool LoadInterfaceTranslations(const QString& DataDirectory);
bool LoadInterfaceTranslations(const QString& DataDirectory, TInterfaceLanguage Language);

// The language the interface speaks since the last load: Chinese until an
// English translation has been installed.
TInterfaceLanguage LoadedInterfaceLanguage();
