#include "front/password_keyring.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>

namespace zandor {
namespace {

const QString kService = QStringLiteral("Zandor");
// A keyring that never answers must not hold the window for long.
constexpr int kKeyringMilliseconds = 5000;

// Runs the job to its end in a loop of its own.
void RunToEnd(QKeychain::Job& job) {
  job.setAutoDelete(false);
  QEventLoop loop;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(kKeyringMilliseconds, &loop, &QEventLoop::quit);
  job.start();
  loop.exec();
}

}  // namespace

QString KeyringKey(const ImapOptions& imap) {
  return QStringLiteral("imap:%1@%2").arg(imap.user.trimmed(), imap.host.trimmed());
}

KeyringRead DesktopKeyring::Read(const QString& key) {
  QKeychain::ReadPasswordJob job(kService);
  job.setKey(key);
  RunToEnd(job);
  if (job.error() == QKeychain::NoError) return {job.textData(), true};
  return {std::nullopt, job.error() == QKeychain::EntryNotFound};
}

std::optional<QString> DesktopKeyring::Write(const QString& key, const QString& password) {
  QKeychain::WritePasswordJob job(kService);
  job.setKey(key);
  job.setTextData(password);
  RunToEnd(job);
  switch (job.error()) {
    case QKeychain::NoError:
      return std::nullopt;
    // Without a D-Bus session QtKeychain only says "Unknown error".
    case QKeychain::NoBackendAvailable:
    case QKeychain::OtherError:
      return QStringLiteral("no keyring service is running");
    default:
      return job.errorString();
  }
}

}  // namespace zandor
