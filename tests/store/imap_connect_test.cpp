// Logging in to the test's Dovecot, and how each way of failing to is told:
// the reason the user reads and the kind the engine acts on.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <optional>

#include "store/imap/imap_store.h"
#include "support/dovecot_server.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using namespace Qt::StringLiterals;
using testing::DovecotServer;

const QDateTime kNow(QDate(2026, 3, 3), QTime(12, 0));

struct ConnectRow {
  const char* name;
  imap::Security security;
  const char* host;      // the server's when empty
  const char* password;  // the user's when empty
  bool systemTrust;      // the test's certificate not given
  const char* failure;   // part of the reason; empty when a draft is filed
  std::optional<FailureKind> kind = std::nullopt;  // the failure's, which the engine acts on
  const char* pin = "";  // CertificateFingerprint: "own" for the certificate's, or the text
  bool xoauth2 = false;  // an access token in place of the password: the user's when empty
  bool full = false;     // the account over its quota
  quint16 port = 0;      // the server's when 0
};

// The certificate's SHA-256 fingerprint, as openssl prints it: "AB:CD:...".
QString FingerprintOf(const QString& pemFile) {
  QProcess openssl;
  openssl.start(u"openssl"_s,
                {u"x509"_s, u"-noout"_s, u"-fingerprint"_s, u"-sha256"_s, u"-in"_s, pemFile});
  openssl.waitForFinished();
  return QString::fromLatin1(openssl.readAllStandardOutput()).section(u'=', 1).trimmed();
}
class ImapConnectTest : public ::testing::TestWithParam<ConnectRow> {};

TEST_P(ImapConnectTest, FilesADraftOnlyWhereItShould) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  const ConnectRow& row = GetParam();
  DovecotServer server({}, row.full);
  imap::Account account = server.Account(row.security);
  if (*row.host) account.host = QString::fromLatin1(row.host);
  if (row.port != 0) account.port = row.port;
  account.xoauth2 = row.xoauth2;
  if (row.xoauth2) account.password = DovecotServer::Token();
  if (*row.password) account.password = QString::fromLatin1(row.password);
  const QString fingerprint = FingerprintOf(account.certificateFile);
  ASSERT_EQ(fingerprint.size(), 95);
  account.certificateFingerprint =
      row.pin == std::string("own") ? fingerprint.toLower() : QString::fromLatin1(row.pin);
  if (row.systemTrust) account.certificateFile.clear();
  QTemporaryDir state;
  const FixedClock clock(kNow);
  ImapStore store(account, state.filePath(u"s.sqlite"_s), QLocale::c(), clock);
  const StoreStatus filed = store.CreateItem()->Save();
  EXPECT_EQ(filed.ok() ? std::nullopt : std::optional(filed.kind()), row.kind);
  if (*row.failure) {
    EXPECT_TRUE(!filed.ok() && filed.reason().contains(QString::fromLatin1(row.failure)))
        << (filed.ok() ? QString() : filed.reason()).toStdString();
    // A refused certificate is named, so that the user may pin it.
    EXPECT_EQ(filed.reason().contains(u"CertificateFingerprint="_s + fingerprint),
              filed.reason().contains(u"is not trusted"_s));
  } else {
    EXPECT_TRUE(filed.ok()) << filed.reason().toStdString();
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapConnectTest, ::testing::Values(
    ConnectRow{"Tls", imap::Security::Tls, "", "", false, ""},
    ConnectRow{"StartTls", imap::Security::StartTls, "", "", false, ""},
    ConnectRow{"AccessToken", imap::Security::Tls, "", "", false, "", {}, "", true},
    ConnectRow{"AccessTokenRefused", imap::Security::StartTls, "", "ey.forged.token", false,
               "cannot log in", FailureKind::Refused, "", true},
    ConnectRow{"WrongPassword", imap::Security::Tls, "", "wrong", false, "Authentication failed",
               FailureKind::Refused},
    ConnectRow{"UntrustedCertificate", imap::Security::Tls, "", "", true, "is not trusted",
               FailureKind::Gone},
    ConnectRow{"PinnedCertificate", imap::Security::Tls, "", "", true, "", {}, "own"},
    ConnectRow{"OtherCertificatePinned", imap::Security::StartTls, "", "", false,
               "not the certificate trusted before", FailureKind::Gone, "AB:CD"},
    ConnectRow{"AddressNotInCertificate", imap::Security::StartTls, "127.0.0.2", "", false,
               "is not trusted", FailureKind::Gone},
    ConnectRow{"PlainElsewhere", imap::Security::None, "192.0.2.1", "", false, "this machine only",
               FailureKind::Gone},
    ConnectRow{"QuotaFull", imap::Security::Tls, "", "", false, "the account is full",
               FailureKind::Store, "", false, true},
    ConnectRow{"NoSuchHost", imap::Security::Tls, "imap.invalid", "", false, "find imap.invalid",
               FailureKind::Gone},
    ConnectRow{"NobodyListens", imap::Security::Tls, "", "", false,
               "127.0.0.1 port 1 refused the connection", FailureKind::Gone, "", false, false, 1}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace zandor
