#pragma once
// The language of the window's texts (English or Japanese), and the translations that show it.
#include <QString>
#include <QTranslator>
#include <optional>

namespace dvr::app {

// "en" or "ja": `requested` (the --lang value) when given, else Japanese for a system locale whose
// name starts with "ja" and English for any other. Nothing for a requested value that is neither.
std::optional<QString> ChooseLanguage(const std::optional<QString>& requested,
                                      const QString& system_locale_name);

// Installs the viewer's translations for `language` ("en" or "ja") and Qt's own ones for the
// standard buttons and dialogs where the system has them; removes both again when it goes.
class Translations {
 public:
  explicit Translations(const QString& language);
  ~Translations();
  Translations(const Translations&) = delete;
  Translations& operator=(const Translations&) = delete;

  // Whether the viewer's own translations were found (they are built into the program).
  bool Loaded() const { return loaded_; }

 private:
  QTranslator viewer_;
  QTranslator qt_;
  bool loaded_ = false;
};

}  // namespace dvr::app
