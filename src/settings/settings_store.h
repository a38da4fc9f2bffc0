#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zandor {

// The per-user settings of application Zandor: text values addressed by section
// and key. Keys may hold any text (folder entry ids carry '/', '.', blanks and
// non-ASCII letters); an implementation must round-trip them exactly, case
// included. Reads never fail: an absent key is std::nullopt. Writes take effect
// at once for every later read through any instance; they do not block on
// anything but the local file system.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual std::optional<QString> Read(const QString& section, const QString& key) const = 0;
  virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
  virtual void Delete(const QString& section, const QString& key) = 0;
  // The keys of the section, as written.
  virtual QStringList Keys(const QString& section) const = 0;

  // The stored text, or fallback when the key is absent.
  QString ReadOr(const QString& section, const QString& key, const QString& fallback) const {
    return Read(section, key).value_or(fallback);
  }
};

}  // namespace zandor
