#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "InterfaceLanguage.h"

namespace {

const QString QtTranslatorName = QStringLiteral("QtTranslations");
const QString InterfaceTranslatorName = QStringLiteral("InterfaceTranslations");
TInterfaceLanguage Loaded = TInterfaceLanguage::Chinese;

// A translator removes itself from the application when deleted.
void RemoveTranslator(QCoreApplication* Application, const QString& Name) {
  delete Application->findChild<QTranslator*>(Name, Qt::FindDirectChildrenOnly);
}

void Install(QCoreApplication* Application, std::unique_ptr<QTranslator> Translator, const QString& Name) {
  Translator->setObjectName(Name);
  QCoreApplication::installTranslator(Translator.get());
  // The application owns it from here on.
  Translator.release()->setParent(Application);
}

}  // namespace

bool LoadQtTranslations() {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return false;
  RemoveTranslator(application, QtTranslatorName);
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  Install(application, std::move(translator), QtTranslatorName);
  return true;
}

bool LoadInterfaceTranslations(const QString& DataDirectory) {
  return LoadInterfaceTranslations(DataDirectory, InterfaceLanguage());
}

bool LoadInterfaceTranslations(const QString& DataDirectory, TInterfaceLanguage Language) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return false;
  RemoveTranslator(application, InterfaceTranslatorName);
  Loaded = TInterfaceLanguage::Chinese;
  if (Language == TInterfaceLanguage::Chinese) return true;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("huxing_en"), DataDirectory + QStringLiteral("translations"))) return false;
  Install(application, std::move(translator), InterfaceTranslatorName);
  Loaded = Language;
  return true;
}

TInterfaceLanguage LoadedInterfaceLanguage() { return Loaded; }
