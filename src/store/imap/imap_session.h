#pragma once

// One logged-in IMAP session over libetpan: connect (TLS, STARTTLS or plain
// text to this machine only), check the server's certificate, log in, log out.
// Nothing outside src/store/imap includes this header.

#include <libetpan/libetpan.h>

#include <QByteArray>
#include <QString>
#include <memory>

#include "store/imap/imap_account.h"
#include "store/store_result.h"

namespace zandor::imap {

struct MailimapFree {
  void operator()(mailimap* session) const { mailimap_free(session); }
};
using MailimapPtr = std::unique_ptr<mailimap, MailimapFree>;

class Session {
 public:
  // Connects and logs in. The failure says what went wrong in words, with the
  // server's own when it gave any; its kind is Gone.
  static StoreResult<std::unique_ptr<Session>> Open(const Account& account);
  // Open in two steps: connected, the certificate checked and the password
  // found welcome on this connection (so STARTTLS done where it is needed),
  // then logged in. A server counts only logged-in sessions against its
  // limit per user, so a helper may be made ready before the run's own
  // session has logged in, and log in after it.
  static StoreResult<std::unique_ptr<Session>> Ready(const Account& account);
  StoreStatus LogIn(const Account& account);
  // Connects and checks the server's certificate, then logs out: whether a
  // password may be given to it at all.
  static StoreStatus Reach(const Account& account);
  ~Session();  // logs out, unless the connection was closed
  // Closes the connection without LOGOUT, for a line found lost.
  void Close();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  mailimap* get() const { return imap_.get(); }
  bool Has(const char* capability) const;
  // "cannot <what> on <host>: <the server's words, or the library's code>".
  StoreFailure Failure(FailureKind kind, const QString& what, int code) const;
  // Whether the code is that of a lost connection: closed, or silent too long.
  bool Lost(int code) const;

  Session(MailimapPtr imap, QString host, int timeoutSeconds);

 private:
  // Connects, with TLS as the account says, and checks the certificate.
  static StoreResult<std::unique_ptr<Session>> Connect(const Account& account);
  // Whether the server takes LOGIN here; a plain connection is upgraded with
  // STARTTLS when the server will not take a password over it.
  StoreStatus PasswordAllowed(const Account& account);
  StoreStatus Capabilities(const QString& why);
  // The text of the BYE the server sent last, if any; empty when none.
  QByteArray Bye() const;
  // Whether the server has closed its end of the connection.
  bool HungUp() const;
  // Why the connection was lost, in words: a close (with the BYE's text)
  // or a silence.
  QString LostText() const;

  MailimapPtr imap_;
  QString host_;
  int timeoutSeconds_;
};

// Whether plain text may be used with the host: this machine only.
bool IsLocalHost(const QString& host);

}  // namespace zandor::imap
