// The window never waits on the mail server: with Dovecot a second away (half
// a second each way), the window keeps drawing while the store logs in,
// lists and counts, and a Break during the count ends the run at once,
// nothing sent.

#include <QElapsedTimer>
#include <QTimer>

#include "delay_proxy.h"
#include "support/dovecot_server.h"
#include "ui/sync_status_bar.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;
using std::chrono::milliseconds;

constexpr milliseconds kOneWay{500};

class SlowServerTest : public WindowRig {};

TEST_F(SlowServerTest, TheWindowKeepsDrawingAndBreakStopsTheCount) {
  if (auto why = DovecotServer::Unavailable()) GTEST_SKIP() << *why;
  DovecotServer server;
  MaildirBuilder mail(server.MailRoot(), MaildirLayout::PlusPlus);
  for (const QStringList& folder : {kInbox, kWork, kSent}) {
    for (int i = 0; i < 3; ++i) {
      TestMessage message;
      message.subject = u"%1 %2"_s.arg(folder.last()).arg(i);
      message.received = message.date = QDateTime(QDate(2026, 12, 5), QTime(9, i));
      mail.Add(folder, message);
    }
  }
  server.Own();
  DelayProxy proxy(server.Account(imap::Security::None).port, kOneWay);
  settings.Write(u"Store"_s, u"Kind"_s, u"imap"_s);
  settings.Write(u"Imap"_s, u"Host"_s, u"127.0.0.1"_s);
  settings.Write(u"Imap"_s, u"Port"_s, QString::number(proxy.Port()));
  settings.Write(u"Imap"_s, u"Security"_s, u"none"_s);
  settings.Write(u"Imap"_s, u"User"_s, QString::fromLatin1(DovecotServer::kUser));
  ImapOptions account;
  account.host = u"127.0.0.1"_s;
  account.user = QString::fromLatin1(DovecotServer::kUser);
  keyring.kept[KeyringKey(account)] = QString::fromLatin1(DovecotServer::kPassword);
  Load();
  // The Kelvo's silence is not the server's: it counts from the first byte.
  window->SetSilenceHintAfter(static_cast<int>(kOneWay.count()));

  // The longest gap between two ticks of a timer on the window's thread is
  // the longest the window could not draw.
  QElapsedTimer sinceTick;
  qint64 longestGap = 0;
  QTimer ticker;
  ticker.setInterval(20);
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
  sinceTick.start();
  ticker.start();
  Show();  // logs in and lists the mailboxes across the proxy
  ASSERT_GT(window->Tree().topLevelItemCount(), 0) << boxes.shown.join(u'|').toStdString();

  // The helper sessions that read ahead are still logging in by then.
  QElapsedTimer sinceBreak;
  QString noteAtBreak;
  QTimer::singleShot(3 * kOneWay, window.get(), [&] {
    noteAtBreak = window->StatusBar().Note();
    sinceBreak.start();
    window->Break();
  });
  window->Sync();
  const qint64 afterBreak = sinceBreak.elapsed();
  ticker.stop();

  EXPECT_TRUE(sinceBreak.isValid()) << "the run ended before the break";
  EXPECT_LT(longestGap, kOneWay.count() / 2);
  // At most the answer to the command in flight is awaited.
  EXPECT_LT(afterBreak, 2 * kOneWay.count() + 500);
  EXPECT_TRUE(device.Held().empty());
  EXPECT_FALSE(noteAtBreak.contains(u"No answer from the Kelvo"_s)) << noteAtBreak.toStdString();
  EXPECT_TRUE(window->StatusBar().Note().contains(u"stopped by Break"_s))
      << window->StatusBar().Note().toStdString();
  EXPECT_EQ(boxes.shown, QStringList());
  // The next run takes the same store again, and completes.
  window->Sync();
  EXPECT_EQ(device.Held().size(), 9u) << boxes.shown.join(u'|').toStdString();
}

}  // namespace
}  // namespace zandor::testing
