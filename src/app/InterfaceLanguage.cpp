#include "InterfaceLanguage.h"

#include <QLocale>
#include <QStringList>

TInterfaceLanguage InterfaceLanguageFor(const QStringList& UiLanguages) {
  for (const QString& name : UiLanguages) {
    // "C" and "POSIX" say nothing about the user's language.
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")) continue;
    if (name.startsWith(QLatin1String("zh"))) return TInterfaceLanguage::Chinese;
    return TInterfaceLanguage::English;
  }
  return TInterfaceLanguage::Chinese;
}

TInterfaceLanguage InterfaceLanguage() { return InterfaceLanguageFor(QLocale::system().uiLanguages()); }
