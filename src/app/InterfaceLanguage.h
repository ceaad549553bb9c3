// The language the designer speaks: Chinese, its own, unless the user's
// preferred language is another one, then English.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

enum class TInterfaceLanguage { Chinese, English };

// From the user's preferred languages (LANGUAGE, then LC_ALL, LC_MESSAGES,
// LANG as Qt reads them), unless one was chosen. The C locale keeps
// Chinese.
TInterfaceLanguage InterfaceLanguage();

// Puts Language in place of the user's preference (tests, embedding);
// nothing restores the preference.
void ChooseInterfaceLanguage(std::optional<TInterfaceLanguage> Language);

// The same choice for a given list of preferred languages, first first.
TInterfaceLanguage InterfaceLanguageFor(const QStringList& UiLanguages);
