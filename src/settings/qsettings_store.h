#pragma once

#include <QString>

#include "settings/settings_store.h"

namespace zandor {

// The settings store over QSettings in INI format: organisation and
// application Zandor, so $XDG_CONFIG_HOME/Zandor/Zandor.ini. Each call opens
// the file afresh (QSettings caches and syncs), so nothing is held between
// calls and two instances always agree.
class QSettingsStore final : public SettingsStore {
 public:
  QSettingsStore() = default;
  // A store kept in the given INI file instead of the per-user one.
  explicit QSettingsStore(QString iniPath) : iniPath_(std::move(iniPath)) {}

  std::optional<QString> Read(const QString& section, const QString& key) const override;
  void Write(const QString& section, const QString& key, const QString& value) override;
  void Delete(const QString& section, const QString& key) override;
  QStringList Keys(const QString& section) const override;

  // Where the values live.
  QString FilePath() const;
  // Why the file that exists cannot be read, and what to do, in words for
  // the user; nullopt when it reads (or is not there yet). With such a file
  // the program must not run on defaults and write over it.
  std::optional<QString> Unreadable() const;

 private:
  QString iniPath_;
};

// The box when there is no home folder to keep something in: `what` ("the
// settings"), `detail` (": ... would be made in ..."; may be empty) and the
// variable that names the folder in place of HOME.
QString NoHomeFolderText(const QString& what, const QString& detail, const QString& variable);

// QSettings reads '/' and '\' in a key as group separators; folder entry ids
// hold both. Keys are escaped before they reach QSettings and unescaped after.
QString EscapeSettingsKey(const QString& key);
QString UnescapeSettingsKey(const QString& escaped);

}  // namespace zandor
