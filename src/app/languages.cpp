#include "app/languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace zandor {

namespace {

std::unique_ptr<QTranslator> Installed(std::unique_ptr<QTranslator> translator) {
  if (!QCoreApplication::installTranslator(translator.get())) return nullptr;
  return translator;
}

// Whether the locale for messages is C or POSIX: LC_ALL, else LC_MESSAGES,
// else LANG, none set counting as C. As gettext does, that means English
// whatever LANGUAGE asks for, so that `LC_ALL=C zandor --sync` reads the same
// on every desktop.
bool MessagesInC() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(name);
    if (!value.isEmpty()) return value == "C" || value == "POSIX" || value.startsWith("C.");
  }
  return true;
}

}  // namespace

Languages::Languages() {
  if (MessagesInC()) return;
  auto ours = std::make_unique<QTranslator>();
  if (!ours->load(QLocale::system(), QStringLiteral("zandor"), QStringLiteral("_"),
                  QStringLiteral(":/i18n"))) {
    return;
  }
  // Qt's texts only in the language ours were found in: a dialog whose
  // buttons speak another language than its question would be worse.
  auto qts = std::make_unique<QTranslator>();
  if (qts->load(QLocale(ours->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    qts_ = Installed(std::move(qts));
  }
  ours_ = Installed(std::move(ours));
}

Languages::~Languages() {
  if (ours_) QCoreApplication::removeTranslator(ours_.get());
  if (qts_) QCoreApplication::removeTranslator(qts_.get());
}

}  // namespace zandor
