#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tessalune::desktop {

QtTranslations::~QtTranslations() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
}

bool QtTranslations::follow(const QString& code) {
  if (code == code_) return installed_;
  code_ = code;
  if (installed_) QCoreApplication::removeTranslator(&translator_);
  installed_ = translator_.load("qtbase_" + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
               QCoreApplication::installTranslator(&translator_);
  return installed_;
}

}  // namespace tessalune::desktop
