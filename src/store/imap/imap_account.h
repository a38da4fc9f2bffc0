#pragma once

// Who reads the mail and where: what the store's caller hands it. Free of
// libetpan, so that the layers above may build a store.

#include <QString>

namespace zandor::imap {

enum class Security { Tls, StartTls, None };

// Where the mail is and who reads it; the caller reads the settings and runs
// the password command.
struct Account {
  QString host;
  quint16 port = 993;
  Security security = Security::Tls;
  QString user;
  QString password;  // or, with xoauth2, the access token
  bool xoauth2 = false;
  // A PEM file of certificates trusted in place of the system's, when set.
  QString certificateFile;
  // The SHA-256 fingerprint of the server's own certificate, trusted on
  // purpose (a self-signed one): "AB:CD:..." or the bare hexadecimal digits.
  QString certificateFingerprint;
  // A server silent this long is left: the connection counts as lost.
  int timeoutSeconds = 30;
};

}  // namespace zandor::imap
