// The language the designer speaks: Chinese, its own, unless the user's
// preferred language is another one, then English.
#pragma once

#include <QString>

enum class TInterfaceLanguage { Chinese, English };

// From the user's preferred languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG
// as Qt reads them). The C locale keeps Chinese.
TInterfaceLanguage InterfaceLanguage();

// The same choice for a given list of preferred languages, first first.
TInterfaceLanguage InterfaceLanguageFor(const QStringList& UiLanguages);
