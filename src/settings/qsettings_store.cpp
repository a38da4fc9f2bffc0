#include "settings/qsettings_store.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
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

QStringList QSettingsStore::Keys(const QString& section) const {
  const auto settings = OpenSettings(iniPath_);
  settings->beginGroup(EscapeSettingsKey(section));
  QStringList keys;
  for (const QString& escaped : settings->childKeys()) keys << UnescapeSettingsKey(escaped);
  settings->endGroup();
  return keys;
}

QString QSettingsStore::FilePath() const {
  // Named without opening it: a FIFO in its place must not block the start.
  if (!iniPath_.isEmpty()) return iniPath_;
  return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Zandor/Zandor.ini"));
}

namespace {

// Why the settings file at path cannot be read faithfully; empty when it can
// or is not there yet.
QString UnreadableReason(const QString& path, const QString& iniPath) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
    if (errno == ENOENT) return QString();  // a first start
    return QString::fromLocal8Bit(std::strerror(errno));
  }
  if (S_ISDIR(info.st_mode)) return QStringLiteral("it is a folder");
  if (!S_ISREG(info.st_mode)) return QStringLiteral("it is not a regular file");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  // QSettings would read other bytes as something and write them back changed.
  const QByteArray bytes = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  static_cast<void>(QString(utf8(bytes)));
  if (bytes.contains('\0') || utf8.hasError()) {
    return QStringLiteral("it is not UTF-8 text (it may be UTF-16, or not text at all)");
  }
  if (OpenSettings(iniPath)->status() != QSettings::NoError) {
    return QStringLiteral("it is not in the form of a settings file");
  }
  return QString();
}

}  // namespace

std::optional<QString> QSettingsStore::Unreadable() const {
  const QString path = FilePath();
  // Settings are made on a first start, but only in a home folder that is
  // there: never at the root of the file system.
  const QString configHome = QFileInfo(QFileInfo(path).path()).path();
  const QString home = QFileInfo(configHome).path();
  if (QFileInfo(path).isRelative() || (!QFileInfo(configHome).isDir() &&
                                       (home == QStringLiteral("/") || !QFileInfo(home).isDir()))) {
    return QStringLiteral(
               "There is no home folder to keep the settings in: %1 would be made in %2, which "
               "does not exist.\n\rSet HOME (or XDG_CONFIG_HOME) to your home folder, then start "
               "Zandor again. Nothing was changed.")
        .arg(path, configHome);
  }
  const QString reason = UnreadableReason(path, iniPath_);
  if (reason.isEmpty()) return std::nullopt;  // readable, or a first start
  return QStringLiteral(
             "The settings file %1 cannot be read: %2.\n\rMend it or move it aside, then start "
             "Zandor again. Nothing was changed.")
      .arg(path, reason);
}

}  // namespace zandor
