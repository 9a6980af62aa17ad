#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace dvr::app {

std::optional<QString> ChooseLanguage(const std::optional<QString>& requested,
                                      const QString& system_locale_name) {
  if (requested) {
    if (*requested == "en" || *requested == "ja") return *requested;
    return std::nullopt;
  }
  return system_locale_name.startsWith("ja") ? QStringLiteral("ja") : QStringLiteral("en");
}

Translations::Translations(const QString& language) {
  loaded_ = viewer_.load(":/i18n/dvr-viewer_" + language + ".qm");
  if (loaded_) QCoreApplication::installTranslator(&viewer_);
  // Qt's translations are a separate package; without them its buttons stay in English.
  if (qt_.load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qt_);
  }
}

Translations::~Translations() {
  QCoreApplication::removeTranslator(&qt_);
  QCoreApplication::removeTranslator(&viewer_);
}

}  // namespace dvr::app
