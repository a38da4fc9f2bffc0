#pragma once

#include <QString>
#include <chrono>
#include <optional>

#include "settings/stored_options.h"

namespace zandor {

// The keyring's entry of an account: "imap:<user>@<host>".
QString KeyringKey(const ImapOptions& imap);

// What a keyring read found. Without a keyring service (no D-Bus session)
// nothing is found and nothing can be kept.
struct KeyringRead {
  std::optional<QString> password;
  bool available = false;
};

// Where IMAP passwords are kept between starts: the window keeps them there,
// and a run without a window finds them there.
class PasswordKeyring {
 public:
  virtual ~PasswordKeyring() = default;
  virtual KeyringRead Read(const QString& key) = 0;
  // Keeps the password; why not, when it could not.
  virtual std::optional<QString> Write(const QString& key, const QString& password) = 0;
};

// The desktop keyring through QtKeychain, service "Zandor". Each call runs an
// event loop of its own until the keyring answers: a read waits readWait at
// most (a keyring that never answers must not hold the window), a write as
// long as the keyring's own prompt is open.
class DesktopKeyring final : public PasswordKeyring {
 public:
  explicit DesktopKeyring(std::chrono::milliseconds readWait = std::chrono::seconds(5));
  KeyringRead Read(const QString& key) override;
  std::optional<QString> Write(const QString& key, const QString& password) override;

 private:
  std::chrono::milliseconds readWait_;
};

}  // namespace zandor
