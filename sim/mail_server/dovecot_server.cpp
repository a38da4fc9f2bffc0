#include "mail_server/dovecot_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace zandor::sim {

using namespace Qt::StringLiterals;
namespace {

constexpr const char* kDovecot = "/usr/sbin/dovecot";
constexpr const char* kOpenssl = "/usr/bin/openssl";
// Dovecot serves no mail as root: the user's files belong to nobody.
constexpr uid_t kMailUid = 65534;
constexpr gid_t kMailGid = 65534;

struct Socket {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ~Socket() { ::close(fd); }
};

sockaddr_in Loopback(quint16 port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port nothing listens on now; the kernel picks it.
quint16 FreePort() {
  Socket socket;
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (::bind(socket.fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::getsockname(socket.fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("no free port on 127.0.0.1");
  }
  return ntohs(address.sin_port);
}

// Whether the server greets on the port. The probe logs out: a login process
// left with a silent connection would hold up Dovecot's shutdown by seconds.
bool Greets(quint16 port) {
  Socket socket;
  const sockaddr_in address = Loopback(port);
  const timeval limit{2, 0};
  ::setsockopt(socket.fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return false;
  }
  char greeting[256] = {};
  if (::recv(socket.fd, greeting, sizeof greeting - 1, 0) <= 0) return false;
  const char logout[] = "z LOGOUT\r\n";
  ::send(socket.fd, logout, sizeof logout - 1, MSG_NOSIGNAL);
  for (char rest[256]; ::recv(socket.fd, rest, sizeof rest, 0) > 0;) {
  }
  return std::string_view(greeting).starts_with("* OK");
}

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
    throw std::runtime_error("cannot write " + path.toStdString());
  }
}

void Chown(const QString& path) {
  if (::chown(QFile::encodeName(path).constData(), kMailUid, kMailGid) != 0) {
    throw std::runtime_error("cannot hand " + path.toStdString() + " to nobody");
  }
}

}  // namespace

std::optional<std::string> DovecotServer::Unavailable() {
  if (::geteuid() != 0) {
    return "Dovecot must be started as root to serve a user of its own; run the IMAP tests as "
           "root (CI does)";
  }
  for (const char* program : {kDovecot, kOpenssl}) {
    if (!QFileInfo(QString::fromLatin1(program)).isExecutable()) {
      return std::string(program) + " is missing: scripts/setup.sh installs it";
    }
  }
  return std::nullopt;
}

DovecotServer::DovecotServer(QStringList hidden, bool full, const QString& extraConfig)
    : hidden_(std::move(hidden)), full_(full), imapPort_(FreePort()), imapsPort_(FreePort()) {
  // Dovecot's own processes run as other users and must reach their files.
  QFile::setPermissions(dir_.path(), QFile::permissions(dir_.path()) | QFile::ExeGroup |
                                         QFile::ReadGroup | QFile::ExeOther | QFile::ReadOther);
  QDir().mkpath(MailRoot());
  const int made =
      QProcess::execute(QString::fromLatin1(kOpenssl),
                        {u"req"_s, u"-x509"_s, u"-newkey"_s, u"ec"_s, u"-pkeyopt"_s,
                         u"ec_paramgen_curve:P-256"_s, u"-nodes"_s, u"-days"_s, u"2"_s, u"-subj"_s,
                         u"/CN=127.0.0.1"_s, u"-addext"_s, u"subjectAltName=IP:127.0.0.1"_s,
                         u"-keyout"_s, Path("key.pem"), u"-out"_s, Path("cert.pem")});
  if (made != 0) throw std::runtime_error("openssl made no certificate");
  WriteConfig(extraConfig);
  Own();
  process_.setProcessChannelMode(QProcess::MergedChannels);
  process_.start(QString::fromLatin1(kDovecot), {u"-F"_s, u"-c"_s, Path("dovecot.conf")});
  WaitUntilListening();
}

DovecotServer::~DovecotServer() {
  process_.terminate();
  if (!process_.waitForFinished(10000)) process_.kill();
  process_.waitForFinished(5000);
}

void DovecotServer::WriteConfig(const QString& extra) const {
  Write(Path("passwd"), u"%1:{PLAIN}%2:%3:%4::%5::\n"_s
                            .arg(QString::fromLatin1(kUser), QString::fromLatin1(kPassword))
                            .arg(kMailUid)
                            .arg(kMailGid)
                            .arg(dir_.path())
                            .toUtf8());
  QString config = QStringLiteral(R"(protocols = imap
listen = 127.0.0.1, 127.0.0.2
base_dir = %1/run
state_dir = %1/state
log_path = %1/dovecot.log
instance_name = zandor-test-%2
ssl = yes
ssl_cert = <%1/cert.pem
ssl_key = <%1/key.pem
disable_plaintext_auth = no
auth_mechanisms = plain xoauth2
mail_location = maildir:%1/mail
first_valid_uid = 1
passdb {
  driver = passwd-file
  mechanisms = plain
  args = %1/passwd
}
passdb {
  driver = oauth2
  mechanisms = xoauth2
  args = %1/oauth2.conf
}
userdb {
  driver = passwd-file
  args = %1/passwd
}
service imap-login {
  inet_listener imap {
    port = %3
  }
  inet_listener imaps {
    port = %4
  }
}
namespace inbox {
  inbox = yes
  separator = /
  mailbox Drafts {
    special_use = \Drafts
    auto = create
  }
  mailbox "Sent" {
    special_use = \Sent
    auto = create
  }
  mailbox Trash {
    special_use = \Trash
    auto = create
  }
}
)")
                       .arg(dir_.path())
                       .arg(imapPort_)
                       .arg(imapPort_)
                       .arg(imapsPort_);
  if (!hidden_.isEmpty()) {
    QStringList announced = u"IMAP4rev1 LITERAL+ UIDPLUS MOVE SPECIAL-USE"_s.split(u' ');
    for (const QString& capability : hidden_) announced.removeAll(capability);
    config += u"imap_capability = "_s + announced.join(u' ') + u'\n';
  }
  if (hidden_.contains(u"SPECIAL-USE"_s))
    config.remove(QRegularExpression(u"special_use = .*\n"_s));
  if (full_)
    config +=
        u"mail_plugins = quota\nplugin {\n  quota = count\n"
        u"  quota_rule = *:bytes=1\n  quota_vsizes = yes\n}\n"_s;
  config += extra;
  Write(Path("dovecot.conf"), config.toUtf8());
  // Access tokens are checked here, against a key of the test's own.
  Write(Path("oauth2.conf"),
        u"introspection_mode = local\nusername_attribute = sub\n"
        u"local_validation_key_dict = fs:posix:prefix=%1/keys/\n"_s.arg(dir_.path())
            .toUtf8());
  QDir().mkpath(Path("keys/default/HS256"));
  Write(Path("keys/default/HS256/default"), QByteArray(kTokenKey).toBase64());
}

void DovecotServer::WaitUntilListening() {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 15s;
  // Dovecot binds every listener before it serves any: one greeting will do.
  while (!Greets(imapPort_)) {
    if (process_.state() == QProcess::NotRunning || std::chrono::steady_clock::now() > deadline) {
      throw std::runtime_error("Dovecot did not start:\n" + process_.readAll().toStdString() +
                               Log().toStdString());
    }
    std::this_thread::sleep_for(50ms);
  }
}

QString DovecotServer::Token(const char* user) {
  const auto part = [](const QByteArray& json) {
    return json.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
  };
  // Dovecot checks the expiry against its own clock, the real one.
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  const QByteArray signedPart = part(R"({"alg":"HS256","typ":"JWT"})") + '.' +
                                part(QStringLiteral(R"({"sub":"%1","iat":%2,"exp":%3})")
                                         .arg(QString::fromUtf8(user))
                                         .arg(now - 60)
                                         .arg(now + 3600)
                                         .toUtf8());
  const QByteArray signature =
      QMessageAuthenticationCode::hash(signedPart, kTokenKey, QCryptographicHash::Sha256);
  return QString::fromLatin1(signedPart + '.' + part(signature));
}

imap::Account DovecotServer::Account(imap::Security security) const {
  imap::Account account;
  account.host = u"127.0.0.1"_s;
  account.port = security == imap::Security::Tls ? imapsPort_ : imapPort_;
  account.security = security;
  account.user = QString::fromLatin1(kUser);
  account.password = QString::fromLatin1(kPassword);
  account.certificateFile = Path("cert.pem");
  account.timeoutSeconds = 10;
  return account;
}

QString DovecotServer::MailRoot() const {
  return Path("mail");
}

void DovecotServer::Own() const {
  Chown(MailRoot());
  for (QDirIterator it(MailRoot(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                       QDirIterator::Subdirectories);
       it.hasNext();) {
    Chown(it.next());
  }
}

QString DovecotServer::Log() const {
  QFile file(Path("dovecot.log"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace zandor::sim
