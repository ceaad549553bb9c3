#include "InterfaceLanguage.h"

#include <QLocale>
#include <QStringList>
#include <optional>

namespace {

std::optional<TInterfaceLanguage> Chosen;

// LANGUAGE first, a colon-separated list of preferences ("en:zh_CN"), as
// the desktop sets it; even under the C locale it names the user's choice.
QStringList PreferredLanguages() {
  QStringList preferred = qEnvironmentVariable("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
  preferred += QLocale::system().uiLanguages();
  return preferred;
}

}  // namespace

TInterfaceLanguage InterfaceLanguageFor(const QStringList& UiLanguages) {
  for (const QString& name : UiLanguages) {
    // "C" and "POSIX" say nothing about the user's language.
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")) continue;
    if (name.startsWith(QLatin1String("zh"))) return TInterfaceLanguage::Chinese;
    return TInterfaceLanguage::English;
  }
  return TInterfaceLanguage::Chinese;
}

TInterfaceLanguage InterfaceLanguage() {
  if (Chosen) return *Chosen;
  return InterfaceLanguageFor(PreferredLanguages());
}

void ChooseInterfaceLanguage(std::optional<TInterfaceLanguage> Language) { Chosen = Language; }
