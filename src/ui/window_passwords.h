#pragma once

#include <QString>
#include <functional>
#include <map>

#include "front/password_source.h"
#include "ui/password_dialog.h"

class QWidget;

namespace zandor {

// The window's passwords: one given this session, else the keyring's, else
// the user's, asked again while the server refuses it. A password the user
// typed is offered to the keyring once the server took it.
class WindowPasswords final : public PasswordSource {
 public:
  // ask: a Yes/No question; tell: an OK box.
  WindowPasswords(QWidget& parent, PasswordKeyring& keyring, PasswordAsker askPassword,
                  std::function<bool(const QString&)> ask,
                  std::function<void(const QString&)> tell);

  PasswordAnswer Password(const ImapOptions& account, bool refused) override;
  void Taken(const ImapOptions& account, const QString& password) override;
  bool WouldAsk(const ImapOptions& account) override;
  // A password given in the options: the one the next login uses.
  void Remember(const ImapOptions& account, const QString& password);

 private:
  QWidget& parent_;
  PasswordKeyring& keyring_;
  PasswordAsker askPassword_;
  std::function<bool(const QString&)> ask_;
  std::function<void(const QString&)> tell_;
  // By keyring key, for as long as the window lives.
  std::map<QString, QString> known_;
  QString typedKey_;  // the account whose password was typed and not offered to the keyring
  bool keyringAvailable_ = false;
};

}  // namespace zandor
