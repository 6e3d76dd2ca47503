#include "platform/gui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vektrano::platform {

bool installCzechQtTranslations() {
  if (!QCoreApplication::instance()) return false;
  static QTranslator* qtbase = nullptr;
  if (qtbase) return true;
  auto* t = new QTranslator(QCoreApplication::instance());
  // The program speaks Czech whatever the desktop's language.
  if (!t->load(QLocale(QLocale::Czech, QLocale::Czechia), QStringLiteral("qtbase"),
               QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete t;
    return false;
  }
  QCoreApplication::installTranslator(t);
  qtbase = t;
  return true;
}

}  // namespace vektrano::platform
