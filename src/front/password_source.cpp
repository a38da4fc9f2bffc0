#include "front/password_source.h"

#include <QCoreApplication>

#include "settings/password_command.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(PasswordSource)
};

PasswordAnswer FromCommand(const QString& command) {
  CommandPassword given = RunPasswordCommand(command);
  if (const auto* failed = std::get_if<CommandFailure>(&given)) {
    return PasswordLacking{failed->reason};
  }
  return std::get<QString>(given);
}

}  // namespace

PasswordAnswer AccessTokenOf(const ImapOptions& account) {
  if (account.passwordCommand.trimmed().isEmpty()) {
    return PasswordLacking{Text::tr("no command is set that prints one")};
  }
  return FromCommand(account.passwordCommand);
}

PasswordAnswer StoredPasswords::Password(const ImapOptions& account, bool refused) {
  // The same command or keyring entry would give the same refused password.
  if (refused) return PasswordLacking{QStringLiteral("refused")};
  if (account.login == ImapLogin::XOAuth2) return AccessTokenOf(account);
  if (!account.passwordCommand.trimmed().isEmpty()) return FromCommand(account.passwordCommand);
  const KeyringRead kept = keyring_.Read(KeyringKey(account));
  if (kept.password) return *kept.password;
  return PasswordLacking{
      kept.available ? Text::tr("no PasswordCommand is set, and the desktop keyring holds no "
                                "password of %1 on %2")
                           .arg(account.user.trimmed(), account.host.trimmed())
                     : Text::tr("no PasswordCommand is set, and no desktop keyring is running")};
}

}  // namespace zandor
