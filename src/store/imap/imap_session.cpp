#include "store/imap/imap_session.h"

#include <arpa/inet.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>
#include <netdb.h>
#include <poll.h>
#include <strings.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimeZone>
#include <vector>

namespace zandor::imap {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(ImapSession)
};

bool Succeeded(int code) {
  return code == MAILIMAP_NO_ERROR || code == MAILIMAP_NO_ERROR_AUTHENTICATED ||
         code == MAILIMAP_NO_ERROR_NON_AUTHENTICATED;
}

// What the library's code means when the server said nothing.
QString CodeText(int code) {
  switch (code) {
    case MAILIMAP_ERROR_CONNECTION_REFUSED:
      //: Why a command to the server failed when the server said nothing (fills %3 of “cannot %1 on
      //: %2: %3”)
      return Text::tr("the connection was refused, or timed out");
    case MAILIMAP_ERROR_STREAM:
      return Text::tr("the connection was lost, or timed out");
    case MAILIMAP_ERROR_SSL:
      return Text::tr("the TLS handshake failed");
    case MAILIMAP_ERROR_PARSE:
      return Text::tr("its answer could not be read");
    case MAILIMAP_ERROR_DONT_ACCEPT_CONNECTION:
      return Text::tr("it does not accept the connection");
    case MAILIMAP_ERROR_MEMORY:
      return Text::tr("out of memory");
    default:
      //: “it” is the server; %1 is a number
      return Text::tr("it refused (libetpan code %1)").arg(code);
  }
}

struct TrustListFree {
  void operator()(gnutls_x509_trust_list_st* list) const { gnutls_x509_trust_list_deinit(list, 1); }
};
struct CertificateFree {
  void operator()(gnutls_x509_crt_int* certificate) const { gnutls_x509_crt_deinit(certificate); }
};
using CertificatePtr = std::unique_ptr<gnutls_x509_crt_int, CertificateFree>;
struct ChainFree {
  void operator()(carray* chain) const { mailstream_certificate_chain_free(chain); }
};

// The server's chain, as it sent it; empty when it sent none.
std::vector<CertificatePtr> PeerChain(mailstream* stream) {
  std::vector<CertificatePtr> chain;
  std::unique_ptr<carray, ChainFree> raw(mailstream_get_certificate_chain(stream));
  if (!raw) return chain;
  for (unsigned i = 0; i < carray_count(raw.get()); ++i) {
    auto* der = static_cast<MMAPString*>(carray_get(raw.get(), i));
    gnutls_x509_crt_t certificate = nullptr;
    if (gnutls_x509_crt_init(&certificate) < 0) break;
    CertificatePtr owned(certificate);
    const gnutls_datum_t datum{reinterpret_cast<unsigned char*>(der->str),
                               static_cast<unsigned>(der->len)};
    if (gnutls_x509_crt_import(certificate, &datum, GNUTLS_X509_FMT_DER) < 0) break;
    chain.push_back(std::move(owned));
  }
  return chain;
}

// "AB:CD:...": the SHA-256 fingerprint of a certificate, as people compare them.
QString Fingerprint(gnutls_x509_crt_t certificate) {
  unsigned char digest[32];
  size_t size = sizeof digest;
  if (gnutls_x509_crt_get_fingerprint(certificate, GNUTLS_DIG_SHA256, digest, &size) < 0) return {};
  return QString::fromLatin1(
      QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(size))
          .toHex(':')
          .toUpper());
}

// The hexadecimal digits alone, upper case: "sha256:ab cd" reads as "ABCD".
QString FingerprintDigits(QString text) {
  text = text.trimmed().toUpper();
  if (text.startsWith(QStringLiteral("SHA256:"))) text.remove(0, 7);
  return text.remove(QLatin1Char(':')).remove(QLatin1Char(' '));
}

// A distinguished name as GnuTLS writes it: "CN=mail.example.org,O=Example".
template <class Get>
QString Name(gnutls_x509_crt_t certificate, Get get) {
  gnutls_datum_t text{};
  if (get(certificate, &text, 0) < 0) return {};
  QString name = QString::fromUtf8(reinterpret_cast<const char*>(text.data),
                                   static_cast<qsizetype>(text.size));
  gnutls_free(text.data);
  return name;
}

QDateTime Moment(time_t when) {
  return when == static_cast<time_t>(-1) ? QDateTime()
                                         : QDateTime::fromSecsSinceEpoch(when, QTimeZone::utc());
}

// The verifier's findings, in the words a user can weigh.
QString Problems(unsigned status, const UntrustedCertificate& shown) {
  QStringList words;
  if (status & GNUTLS_CERT_SIGNER_NOT_FOUND) {
    words << (shown.subject == shown.issuer && !shown.subject.isEmpty()
                  //: Why the server's certificate is not trusted; “it” is the certificate. Several
                  //: are joined with “; ”
                  ? Text::tr("it is self-signed, and no authority this machine trusts "
                             "vouches for it")
                  : Text::tr("its issuer is not one this machine trusts"));
  }
  if (status & GNUTLS_CERT_UNEXPECTED_OWNER) {
    //: %1 is the server's name
    words << Text::tr("it is made out to another name than %1").arg(shown.host);
  }
  if (status & GNUTLS_CERT_EXPIRED) {
    //: %1 is a date, 2026-12-31T23:59:59Z
    words << Text::tr("it expired on %1").arg(shown.validUntil.toString(Qt::ISODate));
  }
  if (status & GNUTLS_CERT_NOT_ACTIVATED) {
    //: %1 is a date, 2026-12-31T23:59:59Z
    words << Text::tr("it is not valid before %1").arg(shown.validFrom.toString(Qt::ISODate));
  }
  if (!words.isEmpty()) return words.join(QStringLiteral("; "));
  gnutls_datum_t text{};
  gnutls_certificate_verification_status_print(status, GNUTLS_CRT_X509, &text, 0);
  const QString why = QString::fromUtf8(reinterpret_cast<const char*>(text.data));
  gnutls_free(text.data);
  return why;
}

// libetpan's GnuTLS build checks nothing: the chain is checked here, before
// any credential is sent. A certificate pinned by its fingerprint is trusted
// as it stands; any other must verify against the trusted ones and name the
// host. A refusal tells what the user needs to decide whether to trust it on
// purpose: its names, its dates and its fingerprint.
StoreStatus CheckCertificate(mailstream* stream, const Account& account) {
  std::vector<CertificatePtr> chain = PeerChain(stream);
  UntrustedCertificate shown{account.host, {}, {}, {}, {}, {}, {}, {}};
  if (!chain.empty()) {
    gnutls_x509_crt_t own = chain.front().get();
    shown.fingerprint = Fingerprint(own);
    shown.subject = Name(own, gnutls_x509_crt_get_dn3);
    shown.issuer = Name(own, gnutls_x509_crt_get_issuer_dn3);
    shown.validFrom = Moment(gnutls_x509_crt_get_activation_time(own));
    shown.validUntil = Moment(gnutls_x509_crt_get_expiration_time(own));
  }
  auto refuse = [&](const QString& why) {
    shown.why = why;
    //: %1 is the server's name, %2 why (the texts about “it”, the certificate)
    QString text = Text::tr("the certificate of %1 is not trusted: %2").arg(account.host, why);
    if (!shown.fingerprint.isEmpty()) {
      //: Follows the text above; %1 (twice) is the fingerprint, AB:CD:…; CertificateFingerprint,
      //: [Imap] and CertificateFile name settings: keep them
      text += Text::tr(
                  " (its SHA-256 fingerprint is %1; to trust it on purpose, set "
                  "CertificateFingerprint=%1 under [Imap], or name the certificates to trust in "
                  "CertificateFile)")
                  .arg(shown.fingerprint);
    }
    return StoreFailure{FailureKind::Gone, text, shown};
  };
  //: Why the certificate is not trusted: the server sent no certificate
  if (chain.empty()) return refuse(Text::tr("the server sent none"));
  if (!account.certificateFingerprint.trimmed().isEmpty()) {
    if (FingerprintDigits(account.certificateFingerprint) == FingerprintDigits(shown.fingerprint))
      return Done{};
    shown.pinned = account.certificateFingerprint.trimmed();
    //: %1 is the fingerprint trusted before
    return refuse(Text::tr("it is not the certificate trusted before, which was %1; the "
                           "server's certificate has changed")
                      .arg(shown.pinned));
  }
  gnutls_x509_trust_list_t raw = nullptr;
  if (gnutls_x509_trust_list_init(&raw, 0) < 0) return refuse(Text::tr("out of memory"));
  std::unique_ptr<gnutls_x509_trust_list_st, TrustListFree> trusted(raw);
  const QByteArray file = account.certificateFile.toLocal8Bit();
  const int added = file.isEmpty() ? gnutls_x509_trust_list_add_system_trust(raw, 0, 0)
                                   : gnutls_x509_trust_list_add_trust_file(
                                         raw, file.constData(), nullptr, GNUTLS_X509_FMT_PEM, 0, 0);
  if (added <= 0) {
    if (file.isEmpty()) return refuse(Text::tr("the system has no trusted certificates"));
    //: %1 is a certificate file
    return refuse(Text::tr("%1 holds no certificate").arg(account.certificateFile));
  }
  std::vector<gnutls_x509_crt_t> list;
  for (const CertificatePtr& certificate : chain) list.push_back(certificate.get());
  QByteArray host = account.host.toUtf8();
  gnutls_typed_vdata_st name{GNUTLS_DT_DNS_HOSTNAME, reinterpret_cast<unsigned char*>(host.data()),
                             0};
  unsigned status = 0;
  if (gnutls_x509_trust_list_verify_crt2(raw, list.data(), static_cast<unsigned>(list.size()),
                                         &name, 1, 0, &status, nullptr) < 0) {
    return refuse(Text::tr("it cannot be checked"));
  }
  if (status == 0) return Done{};
  return refuse(Problems(status, shown));
}

// An IP address rather than a name (no SNI for it).
bool IsAddress(const QString& host) {
  const QByteArray text = host.toLatin1();
  unsigned char buffer[16];
  return inet_pton(AF_INET, text.constData(), buffer) == 1 ||
         inet_pton(AF_INET6, text.constData(), buffer) == 1;
}

void SetServerName(mailstream_ssl_context* context, void* host) {
  mailstream_ssl_set_server_name(context, static_cast<char*>(host));
}

// The library says only that the connection could not be made: a name that
// does not resolve, a port nobody listens on and a silent host each need
// another fix, so they are told apart here.
QString WhyNotConnected(const Account& account, qint64 waitedSeconds) {
  //: %1 is the server's name, %2 its port number; fills %1 of the next texts
  const QString where = Text::tr("%1 port %2").arg(account.host).arg(account.port);
  if (account.timeoutSeconds > 0 && waitedSeconds >= account.timeoutSeconds) {
    //: %1 is “<server> port <n>”, %2 a number of seconds
    return Text::tr(
               "cannot connect to %1: no answer within %2 s; check the server name "
               "and port, and that this computer is online")
        .arg(where)
        .arg(account.timeoutSeconds);
  }
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int resolved = getaddrinfo(account.host.toUtf8().constData(), nullptr, &hints, &found);
  if (found != nullptr) freeaddrinfo(found);
  if (resolved == EAI_NONAME || resolved == EAI_NODATA) {
    //: %1 is the server's name
    return Text::tr("cannot find %1: no such host; check the server name").arg(account.host);
  }
  if (resolved != 0) {
    //: %1 is the server's name, %2 the system's reason
    return Text::tr(
               "cannot find %1: %2; check the server name, and that this computer is "
               "online")
        .arg(account.host, QString::fromLocal8Bit(gai_strerror(resolved)));
  }
  //: %1 is “<server> port <n>”; the security is TLS, STARTTLS or none, under Options
  return Text::tr(
             "%1 refused the connection: no IMAP server listens there; check the "
             "port and the security")
      .arg(where);
}

}  // namespace

bool IsLocalHost(const QString& host) {
  return host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
         (IsAddress(host) &&
          (host.startsWith(QStringLiteral("127.")) || host == QStringLiteral("::1")));
}

Session::Session(MailimapPtr imap, QString host, int timeoutSeconds)
    : imap_(std::move(imap)), host_(std::move(host)), timeoutSeconds_(timeoutSeconds) {}

QByteArray Session::Bye() const {
  // A server that goes away says why in a BYE line; the library drops it
  // with the answer it cuts short, but it is still in the read buffer.
  const MMAPString* read = imap_ ? imap_->imap_stream_buffer : nullptr;
  if (read == nullptr || read->str == nullptr) return {};
  const QByteArray text(read->str, static_cast<qsizetype>(read->len));
  static constexpr char kBye[] = "* BYE ";
  const qsizetype at = text.lastIndexOf(kBye);
  if (at < 0) return {};
  const qsizetype from = at + qsizetype(sizeof kBye) - 1;
  const qsizetype end = text.indexOf('\n', from);
  return text.mid(from, end < 0 ? -1 : end - from).trimmed().left(200);
}

bool Session::HungUp() const {
  if (!imap_ || imap_->imap_stream == nullptr) return true;
  pollfd hangup{mailstream_low_get_fd(mailstream_get_low(imap_->imap_stream)), POLLRDHUP, 0};
  return hangup.fd < 0 ||
         (::poll(&hangup, 1, 0) > 0 && (hangup.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0);
}

bool Session::Lost(int code) const {
  if (code == MAILIMAP_ERROR_STREAM) return true;
  // A server that said BYE is going, whatever the command's answer was.
  if (code != MAILIMAP_NO_ERROR && !Bye().isEmpty()) return true;
  // An answer cut short by a close reads as one that cannot be parsed.
  return code == MAILIMAP_ERROR_PARSE && HungUp();
}

QString Session::LostText() const {
  const QByteArray bye = Bye();
  if (!bye.isEmpty()) {
    //: %1 is what the server said as it left
    return Text::tr("the server closed the connection, saying \"%1\"").arg(QString::fromUtf8(bye));
  }
  // The library gives up on a silent server with the same code as on a
  // closed connection; a silent one has not hung up.
  if (!HungUp() && timeoutSeconds_ > 0) {
    //: %1 is a number of seconds; [Imap] Timeout names a setting: keep it
    return Text::tr("the server sent nothing for %1 s and was left ([Imap] Timeout)")
        .arg(timeoutSeconds_);
  }
  return Text::tr("the server closed the connection");
}

StoreFailure Session::Failure(FailureKind kind, const QString& what, int code) const {
  const char* words = imap_ ? imap_->imap_response : nullptr;
  QString why = Lost(code) ? LostText()
                : words != nullptr && *words != '\0'
                    //: %1 is the server's own words
                    ? Text::tr("the server said \"%1\"").arg(QString::fromUtf8(words))
                    : CodeText(code);
  // RFC 5530's code for a full account: only the user can make room.
  const mailimap_response_info* info = imap_ ? imap_->imap_response_info : nullptr;
  if (code != MAILIMAP_ERROR_STREAM && info != nullptr && info->rsp_atom != nullptr &&
      strcasecmp(info->rsp_atom, "OVERQUOTA") == 0) {
    //: %1 is what the server said
    why = Text::tr(
              "the account is full (%1); make room in it on the server, then synchronise "
              "again")
              .arg(why);
  }
  //: %1 is what was being done (“list the folders”, “log in as ann”…), %2 the server's name, %3 why
  return StoreFailure{kind, Text::tr("cannot %1 on %2: %3").arg(what, host_, why)};
}

StoreStatus Session::Capabilities(const QString& why) {
  mailimap_capability_data* capabilities = nullptr;
  const int code = mailimap_capability(imap_.get(), &capabilities);
  if (code != MAILIMAP_NO_ERROR) return Failure(FailureKind::Gone, why, code);
  mailimap_capability_data_free(capabilities);
  return Done{};
}

StoreStatus Session::PasswordAllowed(const Account& account) {
  mailimap* imap = imap_.get();
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open
  const QString asking = Text::tr("ask for capabilities");
  // A greeting without capabilities leaves them to be asked.
  if (imap->imap_connection_info == nullptr ||
      imap->imap_connection_info->imap_capability == nullptr) {
    if (auto asked = Capabilities(asking); !asked) return asked;
  }
  if (!Has("LOGINDISABLED")) return Done{};
  // Those before STARTTLS no longer hold after it.
  if (account.security == Security::StartTls) {
    if (auto asked = Capabilities(asking); !asked) return asked;
    if (!Has("LOGINDISABLED")) return Done{};
  } else if (account.security == Security::None && Has("STARTTLS")) {
    // A password the server will not take in plain text goes over TLS.
    const QByteArray host = account.host.toUtf8();
    const int code = mailimap_socket_starttls_with_callback(
        imap, !IsAddress(account.host) ? SetServerName : nullptr,
        const_cast<char*>(host.constData()));
    //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
    //: open
    if (code != MAILIMAP_NO_ERROR) return Failure(FailureKind::Gone, Text::tr("start TLS"), code);
    if (auto trusted = CheckCertificate(imap->imap_stream, account); !trusted) return trusted;
    if (auto asked = Capabilities(asking); !asked) return asked;
    if (!Has("LOGINDISABLED")) return Done{};
  }
  const QString fix = account.security == Security::None
                          //: What to do; fills %2 of the next text
                          ? Text::tr("choose STARTTLS or TLS for the connection")
                          : Text::tr("ask the server's keeper which login it takes");
  return StoreFailure{FailureKind::Gone,
                      //: %1 is the server's name, %2 what to do
                      Text::tr("%1 refuses a password on this connection (it announces "
                               "LOGINDISABLED): %2")
                          .arg(account.host, fix)};
}

bool Session::Has(const char* capability) const {
  return mailimap_has_extension(imap_.get(), const_cast<char*>(capability)) != 0;
}

StoreResult<std::unique_ptr<Session>> Session::Connect(const Account& account) {
  if (account.security == Security::None && !IsLocalHost(account.host)) {
    return StoreFailure{FailureKind::Gone,
                        //: %1 is the server's name
                        Text::tr("plain text is for this machine only, not %1: choose TLS "
                                 "or STARTTLS")
                            .arg(account.host)};
  }
  auto session = std::make_unique<Session>(MailimapPtr(mailimap_new(0, nullptr)), account.host,
                                           account.timeoutSeconds);
  mailimap* imap = session->get();
  if (imap == nullptr) return StoreFailure{FailureKind::Gone, Text::tr("out of memory")};
  mailimap_set_timeout(imap, account.timeoutSeconds);
  const QByteArray host = account.host.toUtf8();
  const bool byName = !IsAddress(account.host);
  QElapsedTimer sinceConnect;
  sinceConnect.start();
  int code = account.security == Security::Tls
                 ? mailimap_ssl_connect_with_callback(imap, host.constData(), account.port,
                                                      byName ? SetServerName : nullptr,
                                                      const_cast<char*>(host.constData()))
                 : mailimap_socket_connect(imap, host.constData(), account.port);
  if (!Succeeded(code)) {
    if (code != MAILIMAP_ERROR_CONNECTION_REFUSED) {
      //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection
      //: was open
      return session->Failure(FailureKind::Gone, Text::tr("connect"), code);
    }
    return StoreFailure{FailureKind::Gone, WhyNotConnected(account, sinceConnect.elapsed() / 1000)};
  }
  if (account.security == Security::StartTls) {
    code = mailimap_socket_starttls_with_callback(imap, byName ? SetServerName : nullptr,
                                                  const_cast<char*>(host.constData()));
    if (!Succeeded(code)) {
      return session->Failure(FailureKind::Gone, Text::tr("start TLS"), code);
    }
  }
  if (account.security != Security::None) {
    if (auto trusted = CheckCertificate(imap->imap_stream, account); !trusted) {
      return trusted.failure();
    }
  }
  return session;
}

StoreStatus Session::Reach(const Account& account) {
  StoreResult<std::unique_ptr<Session>> reached = Connect(account);
  if (!reached) return reached.failure();
  return Done{};  // logs out as it goes
}

StoreResult<std::unique_ptr<Session>> Session::Ready(const Account& account) {
  StoreResult<std::unique_ptr<Session>> connected = Connect(account);
  if (!connected) return connected;
  Session& session = *connected.value();
  if (!account.xoauth2) {
    if (auto allowed = session.PasswordAllowed(account); !allowed) return allowed.failure();
  } else if (mailimap_has_xoauth2(session.get()) == 0) {
    return StoreFailure{
        FailureKind::Gone,
        //: %1 is the server's name; Login=xoauth2 and [Imap] name a setting: keep them
        Text::tr("%1 does not offer XOAUTH2: remove Login=xoauth2 under "
                 "[Imap] and log in with a password")
            .arg(account.host)};
  }
  return connected;
}

StoreStatus Session::LogIn(const Account& account) {
  mailimap* imap = imap_.get();
  const mailimap_capability_data* greeted = imap->imap_connection_info->imap_capability;
  int code = account.xoauth2 ? mailimap_oauth2_authenticate(imap, account.user.toUtf8().constData(),
                                                            account.password.toUtf8().constData())
                             : mailimap_login(imap, account.user.toUtf8().constData(),
                                              account.password.toUtf8().constData());
  if (!Succeeded(code)) {
    // A server that answers NO refused the credentials; any other failure
    // is the line's.
    const FailureKind kind =
        code == MAILIMAP_ERROR_LOGIN ? FailureKind::Refused : FailureKind::Gone;
    //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
    //: open; %1 is the user name
    return Failure(kind, Text::tr("log in as %1").arg(account.user), code);
  }
  // The capabilities before the login are not those after it. Most servers
  // tell them in the login's answer (kept in place of the greeting's); the
  // others are asked, a round trip more.
  if (imap->imap_connection_info->imap_capability != greeted) return Done{};
  mailimap_capability_data* capabilities = nullptr;
  code = mailimap_capability(imap, &capabilities);
  if (!Succeeded(code)) {
    return Failure(FailureKind::Gone, Text::tr("ask for capabilities"), code);
  }
  mailimap_capability_data_free(capabilities);
  return Done{};
}

StoreResult<std::unique_ptr<Session>> Session::Open(const Account& account) {
  StoreResult<std::unique_ptr<Session>> ready = Ready(account);
  if (!ready) return ready;
  if (StoreStatus in = ready.value()->LogIn(account); !in) return in.failure();
  return ready;
}

// LOGOUT goes, but its answer is not awaited: the server ends the session
// on the command itself, and a round trip more would only delay the exit.
Session::~Session() {
  if (!imap_ || imap_->imap_stream == nullptr) return;
  const QByteArray logout = QByteArray::number(imap_->imap_tag + 1) + " LOGOUT\r\n";
  const auto size = static_cast<size_t>(logout.size());
  if (mailstream_write(imap_->imap_stream, logout.constData(), size) ==
      static_cast<ssize_t>(size)) {
    mailstream_flush(imap_->imap_stream);
  }
  Close();
}

void Session::Close() {
  if (imap_->imap_stream == nullptr) return;
  mailstream_close(imap_->imap_stream);
  imap_->imap_stream = nullptr;
}

}  // namespace zandor::imap
