#pragma once

#include <QString>
#include <QTranslator>

namespace tessalune::desktop {

// Qt's own words (the colour, file and message dialogs' buttons and labels) in a language of
// the host's, from the translations Qt installs; English where there are none.
class QtTranslations {
 public:
  QtTranslations() = default;
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;
  ~QtTranslations();

  // Speaks the language of this code ("fr") from now on; false where Qt has no translation.
  bool follow(const QString& code);

 private:
  QTranslator translator_;
  QString code_;
  bool installed_ = false;
};

}  // namespace tessalune::desktop
