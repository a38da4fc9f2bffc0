#include "ui/window_passwords.h"

#include <QCoreApplication>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(WindowPasswords)
};

}  // namespace

WindowPasswords::WindowPasswords(QWidget& parent, PasswordKeyring& keyring,
                                 PasswordAsker askPassword, std::function<bool(const QString&)> ask,
                                 std::function<void(const QString&)> tell)
    : parent_(parent),
      keyring_(keyring),
      askPassword_(askPassword ? std::move(askPassword) : PasswordAsker(AskPassword)),
      ask_(std::move(ask)),
      tell_(std::move(tell)) {}

PasswordAnswer WindowPasswords::Password(const ImapOptions& account, bool refused) {
  // A refused token is the command's to renew: asking the user is no help.
  if (account.login == ImapLogin::XOAuth2) {
    //: Why no access token could be had: the server refused the last one
    return refused ? PasswordAnswer(PasswordLacking{Text::tr("refused")}) : AccessTokenOf(account);
  }
  const QString key = KeyringKey(account);
  if (refused) {
    known_.erase(key);
  } else {
    if (const auto known = known_.find(key); known != known_.end()) return known->second;
    const KeyringRead kept = keyring_.Read(key);
    keyringAvailable_ = kept.available;
    if (kept.password) return known_[key] = *kept.password;
  }
  const QString question = PasswordQuestion(account);
  const std::optional<QString> typed = askPassword_(
      &parent_,
      //: %1 is the question "Password of ann on mail.example.org:"
      refused ? Text::tr("The server refused the password.\n%1").arg(question) : question);
  if (!typed) return PasswordLacking{QString(), true};
  known_[key] = *typed;
  typedKey_ = key;
  return *typed;
}

bool WindowPasswords::WouldAsk(const ImapOptions& account) {
  if (account.login == ImapLogin::XOAuth2) return false;
  const QString key = KeyringKey(account);
  if (known_.contains(key)) return false;
  const KeyringRead kept = keyring_.Read(key);
  keyringAvailable_ = kept.available;
  if (!kept.password) return true;
  known_[key] = *kept.password;
  return false;
}

void WindowPasswords::Taken(const ImapOptions& account, const QString& password) {
  const QString key = KeyringKey(account);
  if (typedKey_ != key) return;
  typedKey_.clear();
  if (!keyringAvailable_ ||
      //: %1 is the user name, %2 the IMAP server's name
      !ask_(Text::tr("Keep the password of %1 on %2 in the desktop keyring?")
                .arg(account.user, account.host))) {
    return;
  }
  if (const std::optional<QString> why = keyring_.Write(key, password)) {
    //: %1 is why the keyring did not keep it
    tell_(Text::tr("The password could not be kept in the keyring: %1").arg(*why));
  }
}

void WindowPasswords::Remember(const ImapOptions& account, const QString& password) {
  known_[KeyringKey(account)] = password;
}

}  // namespace zandor
