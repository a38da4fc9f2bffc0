#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "settings/stored_options.h"

class QWidget;

namespace zandor {

// The keyring's entry of an account: "imap:<user>@<host>".
QString KeyringKey(const ImapOptions& imap);

// What a keyring read found. Without a keyring service (no D-Bus session)
// nothing is found and nothing can be kept.
struct KeyringRead {
  std::optional<QString> password;
  bool available = false;
};

// Where the window keeps IMAP passwords between starts.
class PasswordKeyring {
 public:
  virtual ~PasswordKeyring() = default;
  virtual KeyringRead Read(const QString& key) = 0;
  // Keeps the password; why not, when it could not.
  virtual std::optional<QString> Write(const QString& key, const QString& password) = 0;
};

// The desktop keyring through QtKeychain, service "Zandor".
class DesktopKeyring final : public PasswordKeyring {
 public:
  KeyringRead Read(const QString& key) override;
  std::optional<QString> Write(const QString& key, const QString& password) override;
};

// Asks the user for a password with the text given; nullopt when cancelled.
using PasswordAsker = std::function<std::optional<QString>(QWidget* parent, const QString& text)>;
// A QInputDialog whose field hides what is typed.
std::optional<QString> AskPassword(QWidget* parent, const QString& text);

// "Password of ann on mail.example.org:"
QString PasswordQuestion(const ImapOptions& imap);

}  // namespace zandor
