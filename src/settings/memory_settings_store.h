#pragma once

#include <QString>
#include <map>
#include <utility>

#include "settings/settings_store.h"

namespace zandor {

// Settings kept in memory: for tests and for a run that must not touch the
// user's own settings.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<QString> Read(const QString& section, const QString& key) const override {
    const auto it = values_.find({section, key});
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  void Write(const QString& section, const QString& key, const QString& value) override {
    values_[{section, key}] = value;
  }
  void Delete(const QString& section, const QString& key) override {
    values_.erase({section, key});
  }
  QStringList Keys(const QString& section) const override {
    QStringList keys;
    for (const auto& [where, value] : values_) {
      if (where.first == section) keys << where.second;
    }
    return keys;
  }
  const std::map<std::pair<QString, QString>, QString>& Values() const { return values_; }

 private:
  std::map<std::pair<QString, QString>, QString> values_;
};

}  // namespace zandor
