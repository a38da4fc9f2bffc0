#pragma once

// A throwaway Dovecot on 127.0.0.1 (and .2, which its certificate does not
// name), for the tests, the benchmarks and the demo (imap-sandbox): plain
// IMAP and IMAPS on free
// ports, a self-signed certificate made at start, one user (kUser, kPassword)
// served as nobody, Drafts, Sent and Trash marked SPECIAL-USE, everything in a
// temporary folder. The user's mail is a Maildir++ that a MaildirBuilder may
// fill; Own() hands it to the user before the server reads it.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "store/imap/imap_account.h"

namespace zandor::sim {

class DovecotServer {
 public:
  static constexpr const char* kUser = "ann";
  static constexpr const char* kPassword = "secret";
  static constexpr const char* kTokenKey = "the test's own key for access tokens";

  // An OAuth 2.0 access token for the user, signed with kTokenKey, valid for
  // an hour: what a provider's token command would print.
  static QString Token(const char* user = kUser);

  // Why no Dovecot can run here (not root, not installed); nullopt when it can.
  static std::optional<std::string> Unavailable();

  // Starts it and waits until it accepts connections; throws with its log
  // when it does not. It may lack capabilities (hidden from what it
  // announces; without SPECIAL-USE it marks no mailbox either) or room (full:
  // a quota no message fits). extraConfig is added to its configuration.
  explicit DovecotServer(QStringList hidden = {}, bool full = false,
                         const QString& extraConfig = {});
  ~DovecotServer();
  DovecotServer(const DovecotServer&) = delete;
  DovecotServer& operator=(const DovecotServer&) = delete;

  // The account as the store is given it: 127.0.0.1, the port of the kind of
  // security, the user, and the test's certificate as the one trusted.
  imap::Account Account(imap::Security security) const;
  // The user's Maildir (its root is INBOX).
  QString MailRoot() const;
  // Gives every file of the mail to the user that Dovecot serves it as.
  void Own() const;
  QString Log() const;

 private:
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  void WriteConfig(const QString& extra) const;
  void WaitUntilListening();

  QStringList hidden_;
  bool full_;
  QTemporaryDir dir_;
  quint16 imapPort_ = 0;
  quint16 imapsPort_ = 0;
  QProcess process_;
};

}  // namespace zandor::sim
