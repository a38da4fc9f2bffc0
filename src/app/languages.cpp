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

}  // namespace

Languages::Languages() {
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

QString Languages::Chosen() const {
  return ours_ ? QLocale(ours_->language()).name().section(QLatin1Char('_'), 0, 0) : QString();
}

}  // namespace zandor
