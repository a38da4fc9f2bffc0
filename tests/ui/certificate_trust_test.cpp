// An IMAP account whose server shows a self-signed certificate is set up in
// the window alone: the place of the tree says why nothing shows, its button
// shows the certificate, trusting it keeps its fingerprint, the password is
// asked once and only then, and a certificate that changes later is shown
// again beside the one trusted before.

#include <QLabel>

#include "front/store_choice.h"
#include "support/dovecot_server.h"
#include "ui/certificate_dialog.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;

class CertificateTrustTest : public WindowRig {};

TEST_F(CertificateTrustTest, TrustedFromTheWindowThenChanged) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  DovecotServer server;
  MaildirBuilder mail(server.MailRoot(), MaildirLayout::PlusPlus);
  TestMessage message;
  message.subject = u"Over TLS"_s;
  message.received = message.date = QDateTime(QDate(2026, 12, 5), QTime(9, 0));
  mail.Add(kInbox, message);
  server.Own();
  settings.Write(u"Store"_s, u"Kind"_s, u"imap"_s);
  settings.Write(u"Imap"_s, u"Host"_s, u"127.0.0.1"_s);
  settings.Write(u"Imap"_s, u"Port"_s, QString::number(server.Account(imap::Security::Tls).port));
  settings.Write(u"Imap"_s, u"User"_s, QString::fromLatin1(DovecotServer::kUser));
  reach = ReachImapServer;
  QStringList asked;
  Load({}, {}, [&](QWidget*, const QString& text) -> std::optional<QString> {
    asked << text;
    return QString::fromLatin1(DovecotServer::kPassword);
  });
  Show();
  // Nothing is asked at the start: the place of the tree says why.
  EXPECT_TRUE(boxes.certificates.empty());
  EXPECT_EQ(asked, QStringList());
  EXPECT_TRUE(Control<QLabel>(*window, "lblFirstStart")->text().contains(u"is not trusted"_s));
  QPushButton* mend = Button("btnChooseMailFolder");
  EXPECT_EQ(mend->text(), u"Check the certificate..."_s);

  mend->click();
  ASSERT_EQ(boxes.certificates.size(), 1u);
  const UntrustedCertificate shown = boxes.certificates.front();
  EXPECT_EQ(shown.host, u"127.0.0.1"_s);
  EXPECT_TRUE(shown.why.contains(u"self-signed"_s)) << shown.why.toStdString();
  EXPECT_EQ(shown.fingerprint.size(), 95);
  EXPECT_FALSE(shown.subject.isEmpty());
  EXPECT_LT(shown.validFrom, shown.validUntil);
  EXPECT_EQ(settings.Read(u"Imap"_s, u"CertificateFingerprint"_s), shown.fingerprint);
  EXPECT_EQ(asked.size(), 1);
  EXPECT_GT(window->Tree().topLevelItemCount(), 0) << boxes.shown.join(u'|').toStdString();
  window->Sync();
  EXPECT_EQ(device.Held().size(), 1u) << boxes.shown.join(u'|').toStdString();
  EXPECT_EQ(asked.size(), 1);

  // The dialog the user sees names what was shown, and trusting is no default.
  CertificateDialog dialog(window.get(), shown);
  EXPECT_TRUE(Control<QLabel>(dialog, "labelCertificateFingerprint")
                  ->text()
                  .startsWith(shown.fingerprint.left(47)));
  EXPECT_EQ(Control<QPushButton>(dialog, "buttonTrust")->text(), u"Trust this certificate"_s);
  EXPECT_TRUE(Control<QPushButton>(dialog, "buttonCancel")->isDefault());

  // Another certificate than the one trusted is refused and shown again.
  const QString before = u"00:11"_s;
  settings.Write(u"Imap"_s, u"CertificateFingerprint"_s, before);
  boxes.trust = false;
  window->Sync();
  ASSERT_EQ(boxes.certificates.size(), 2u);
  EXPECT_EQ(boxes.certificates.back().pinned, before);
  EXPECT_EQ(boxes.certificates.back().fingerprint, shown.fingerprint);
  EXPECT_EQ(settings.Read(u"Imap"_s, u"CertificateFingerprint"_s), before);
  EXPECT_EQ(device.Held().size(), 1u);
  EXPECT_EQ(asked.size(), 1);
}

}  // namespace
}  // namespace zandor::testing
