#include "settings/qsettings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace zandor {
namespace {

std::unique_ptr<QSettings> OpenSettings(const QString& iniPath) {
  if (!iniPath.isEmpty()) return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Zandor"), QStringLiteral("Zandor"));
}

QString GroupKey(const QString& section, const QString& key) {
  return EscapeSettingsKey(section) + QLatin1Char('/') + EscapeSettingsKey(key);
}

}  // namespace

QString EscapeSettingsKey(const QString& key) {
  QString out;
  out.reserve(key.size());
  for (const QChar c : key) {
    if (c == QLatin1Char('%')) {
      out += QStringLiteral("%25");
    } else if (c == QLatin1Char('/')) {
      out += QStringLiteral("%2F");
    } else if (c == QLatin1Char('\\')) {
      out += QStringLiteral("%5C");
    } else {
      out += c;
    }
  }
  return out;
}

QString UnescapeSettingsKey(const QString& escaped) {
  QString out;
  out.reserve(escaped.size());
  for (qsizetype i = 0; i < escaped.size(); ++i) {
    const QStringView code = QStringView(escaped).mid(i, 3);
    if (code == u"%25") {
      out += QLatin1Char('%');
    } else if (code == u"%2F") {
      out += QLatin1Char('/');
    } else if (code == u"%5C") {
      out += QLatin1Char('\\');
    } else {
      out += escaped[i];
      continue;
    }
    i += 2;
  }
  return out;
}

std::optional<QString> QSettingsStore::Read(const QString& section, const QString& key) const {
  const auto settings = OpenSettings(iniPath_);
  const QVariant value = settings->value(GroupKey(section, key));
  if (!value.isValid()) return std::nullopt;
  return value.toString();
}

void QSettingsStore::Write(const QString& section, const QString& key, const QString& value) {
  const auto settings = OpenSettings(iniPath_);
  settings->setValue(GroupKey(section, key), value);
  settings->sync();
}

void QSettingsStore::Delete(const QString& section, const QString& key) {
  const auto settings = OpenSettings(iniPath_);
  settings->remove(GroupKey(section, key));
  settings->sync();
}

QString QSettingsStore::FilePath() const {
  return OpenSettings(iniPath_)->fileName();
}

std::optional<QString> QSettingsStore::Unreadable() const {
  const QString path = FilePath();
  const QFileInfo info(path);
  QString reason;
  if (info.isDir()) {
    reason = QStringLiteral("it is a folder");
  } else if (info.exists()) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      reason = file.errorString();
    } else if (OpenSettings(iniPath_)->status() != QSettings::NoError) {
      reason = QStringLiteral("it is not in the form of a settings file");
    }
  }
  if (reason.isEmpty()) return std::nullopt;  // readable, or a first start
  return QStringLiteral(
             "The settings file %1 cannot be read: %2.\n\rMend it or move it aside, then start "
             "Zandor again. Nothing was changed.")
      .arg(path, reason);
}

}  // namespace zandor
