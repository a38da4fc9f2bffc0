#include "front/password_keyring.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>

#include "front/keyring_wait.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(PasswordKeyring)
};

const QString kService = QStringLiteral("Zandor");

}  // namespace

QString KeyringKey(const ImapOptions& imap) {
  return QStringLiteral("imap:%1@%2").arg(imap.user.trimmed(), imap.host.trimmed());
}

DesktopKeyring::DesktopKeyring(std::chrono::milliseconds readWait) : readWait_(readWait) {}

KeyringRead DesktopKeyring::Read(const QString& key) {
  auto job = std::make_unique<QKeychain::ReadPasswordJob>(kService);
  job->setKey(key);
  if (!RunToEnd(job, readWait_)) return {std::nullopt, false};
  if (job->error() == QKeychain::NoError) return {job->textData(), true};
  return {std::nullopt, job->error() == QKeychain::EntryNotFound};
}

std::optional<QString> DesktopKeyring::Write(const QString& key, const QString& password) {
  auto job = std::make_unique<QKeychain::WritePasswordJob>(kService);
  job->setKey(key);
  job->setTextData(password);
  // The keyring may first ask the user to make or unlock it: that takes the
  // user's time, so there is no deadline here.
  RunToEnd(job, std::nullopt);
  switch (job->error()) {
    case QKeychain::NoError:
      return std::nullopt;
    // Without a D-Bus session QtKeychain only says "Unknown error".
    case QKeychain::NoBackendAvailable:
    case QKeychain::OtherError:
      return Text::tr("no keyring service is running");
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
      return Text::tr("the keyring refused it, or its prompt was cancelled");
    default:
      return job->errorString();
  }
}

}  // namespace zandor
