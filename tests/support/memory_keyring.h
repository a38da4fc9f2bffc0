#pragma once

#include <map>
#include <optional>

#include "front/password_keyring.h"

namespace zandor::testing {

// A keyring in memory; without a service it keeps nothing, as QtKeychain
// without a D-Bus session.
class MemoryKeyring final : public PasswordKeyring {
 public:
  KeyringRead Read(const QString& key) override {
    const auto it = kept.find(key);
    return {it == kept.end() ? std::nullopt : std::optional(it->second), available};
  }
  std::optional<QString> Write(const QString& key, const QString& password) override {
    if (!available) return QStringLiteral("no keyring service");
    kept[key] = password;
    return std::nullopt;
  }
  std::map<QString, QString> kept;
  bool available = true;
};

}  // namespace zandor::testing
