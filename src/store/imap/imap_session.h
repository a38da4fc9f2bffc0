#pragma once

// One logged-in IMAP session over libetpan: connect (TLS, STARTTLS or plain
// text to this machine only), check the server's certificate, log in, log out.
// Nothing outside src/store/imap includes this header.

#include <libetpan/libetpan.h>

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
  ~Session();  // logs out, unless the connection was closed
  // Closes the connection without LOGOUT, for a line found lost.
  void Close();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  mailimap* get() const { return imap_.get(); }
  bool Has(const char* capability) const;
  // "cannot <what> on <host>: <the server's words, or the library's code>".
  StoreFailure Failure(FailureKind kind, const QString& what, int code) const;

  Session(MailimapPtr imap, QString host) : imap_(std::move(imap)), host_(std::move(host)) {}

 private:
  MailimapPtr imap_;
  QString host_;
};

// Whether plain text may be used with the host: this machine only.
bool IsLocalHost(const QString& host);

}  // namespace zandor::imap
