#pragma once

// The program's texts in the user's language.
//
// The translations are carried in the program (resources under :/i18n);
// the language is the first of the desktop's that has one (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG). Without one, or with messages in the C locale,
// the English source texts stand.
// Qt's own texts (the dialogs' standard buttons) follow in the same language
// when this machine has Qt's translations.

#include <QTranslator>
#include <memory>

namespace zandor {

class Languages {
 public:
  // Installs the translations into the running application.
  Languages();
  ~Languages();
  Languages(const Languages&) = delete;
  Languages& operator=(const Languages&) = delete;

 private:
  std::unique_ptr<QTranslator> ours_;
  std::unique_ptr<QTranslator> qts_;
};

}  // namespace zandor
