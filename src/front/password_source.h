#pragma once

#include <QString>
#include <variant>

#include "front/password_keyring.h"
#include "settings/stored_options.h"

namespace zandor {

// Why a source has no password to give.
struct PasswordLacking {
  QString why;             // in words, for the box; empty when cancelled
  bool cancelled = false;  // the user chose to give none, and knows it
};
using PasswordAnswer = std::variant<QString, PasswordLacking>;

// Where the password of an IMAP account comes from: a command, the desktop
// keyring, the user. The store opener asks it for one, and again while the
// server refuses what it gave.
class PasswordSource {
 public:
  virtual ~PasswordSource() = default;
  // The password (or, with Login=xoauth2, the access token) to log in with.
  // refused: the server refused the last one this source gave; a source that
  // has no other says so with PasswordLacking.
  virtual PasswordAnswer Password(const ImapOptions& account, bool refused) = 0;
  // The server took the password given last.
  virtual void Taken(const ImapOptions& /*account*/, const QString& /*password*/) {}
  // Whether the next Password would ask the user: the server's certificate
  // is checked first, so that no one types a password for a stranger.
  virtual bool WouldAsk(const ImapOptions& /*account*/) { return false; }
};

// An access token lasts an hour or so: it is asked of the password command
// at each login, never kept.
PasswordAnswer AccessTokenOf(const ImapOptions& account);

// A run without a window: the password command when one is set, else the
// password the window kept in the keyring; nothing more after a refusal.
class StoredPasswords final : public PasswordSource {
 public:
  explicit StoredPasswords(PasswordKeyring& keyring) : keyring_(keyring) {}
  PasswordAnswer Password(const ImapOptions& account, bool refused) override;

 private:
  PasswordKeyring& keyring_;
};

}  // namespace zandor
