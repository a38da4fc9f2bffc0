// A process killed with SIGKILL in the middle of Saves and deliveries leaves
// no partial message in cur/ or new/, and every KelvoSent value is one that
// was written whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>
#include <QThread>

#include "store_fixture.h"

namespace zandor {
namespace {

using testing::MaildirLayout;
using testing::Path;
using testing::StoreFixture;
using testing::TestMessage;

constexpr int kMessages = 12;
const QDateTime kBase(QDate(2026, 3, 1), QTime(0, 0));

QString BodyOf(int round, int index) {
  QString body;
  for (int line = 0; line < 300; ++line) {
    body += QStringLiteral("line %1 of delivery %2.%3, with some text to fill it\r\n")
                .arg(line)
                .arg(round)
                .arg(index);
  }
  return body;
}

// The child: marks every Inbox message with the round's time and delivers a
// new item, round after round, until it is killed. Tells the parent through
// the pipe once it has started writing.
[[noreturn]] void WriteUntilKilled(const QString& root, int firstRound, int signalFd) {
  FixedClock clock(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
  MaildirStore store(root, QLocale::c(), clock);
  const QString all = QStringLiteral("[ReceivedTime] >= \"1 Jan 1990\" ");
  bool signalled = false;
  for (int round = firstRound;; ++round) {
    const QDateTime value = kBase.addSecs(round);
    auto items = store.Items(store.GetDefaultFolder(DefaultFolder::Inbox).value());
    if (!items) _exit(2);
    for (auto item = items.value()->Find(all); item; item = items.value()->FindNext()) {
      item->SetKelvoSent(value);
      if (!item->Save().ok()) _exit(3);
      if (!signalled) {
        signalled = true;
        if (write(signalFd, "x", 1) != 1) _exit(4);
      }
    }
    for (int index = 0; index < 2; ++index) {
      auto created = store.CreateItem();
      created->SetSubject(QStringLiteral("delivery %1 %2").arg(round).arg(index));
      created->SetBody(BodyOf(round, index));
      created->AddRecipient(QStringLiteral("Dummy"));
      created->SetKelvoSent(value);
      if (!created->Save().ok()) _exit(5);
    }
  }
}

TEST(CrashSafety, KilledWriterLeavesOldOrNewValuesAndWholeMessages) {
  StoreFixture fixture(MaildirLayout::PlusPlus, QLocale::c());
  for (int i = 0; i < kMessages; ++i) {
    TestMessage message;
    message.received = QDateTime(QDate(2026, 2, 1), QTime(9, i));
    fixture.builder.Add(Path({"Inbox"}), message);
  }
  const QString all = QStringLiteral("[ReceivedTime] >= \"1 Jan 1990\" ");
  QRandomGenerator random(20260303);
  int round = 1;
  int kills = 0;
  for (int attempt = 0; attempt < 12; ++attempt) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    fixture.store.reset();  // the child opens the database on its own
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      WriteUntilKilled(fixture.dir.path(), round, pipeFds[1]);
    }
    close(pipeFds[1]);
    char started = 0;
    const bool running = read(pipeFds[0], &started, 1) == 1;
    close(pipeFds[0]);
    QThread::usleep(1000u + random.bounded(40000u));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(running) << "the writer stopped before writing: status " << status;
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ++kills;
    ASSERT_FALSE(WIFEXITED(status)) << "the writer failed with " << WEXITSTATUS(status);
    fixture.store = fixture.Reopen();

    // Marks: each one is a value some Save wrote whole.
    int highest = 0;
    auto inbox = fixture.Items(Path({"Inbox"}));
    ASSERT_EQ(inbox->Count(), kMessages);
    for (auto item = inbox->Find(all); item; item = inbox->FindNext()) {
      const std::optional<QDateTime> mark = item->KelvoSent();
      if (!mark) continue;
      const qint64 seconds = kBase.secsTo(*mark);
      EXPECT_EQ(kBase.addSecs(seconds), *mark) << "whole seconds only";
      EXPECT_GE(seconds, 1);
      EXPECT_LT(seconds, 1000000);
      highest = std::max(highest, static_cast<int>(seconds));
    }
    // Deliveries: every message in cur/ or new/ is whole, and carries its mark.
    auto drafts = fixture.store->GetDefaultFolder(DefaultFolder::Drafts);
    ASSERT_TRUE(drafts.ok());
    auto delivered = fixture.store->Items(drafts.value());
    ASSERT_TRUE(delivered.ok());
    for (auto item = delivered.value()->Find(all); item; item = delivered.value()->FindNext()) {
      const QStringList words = item->Text(ItemText::Subject).value().split(QLatin1Char(' '));
      ASSERT_EQ(words.size(), 3) << item->EntryId().toStdString();
      const int made = words[1].toInt();
      EXPECT_EQ(item->Text(ItemText::Body).value(), BodyOf(made, words[2].toInt()))
          << "partial message " << item->EntryId().toStdString();
      EXPECT_EQ(item->KelvoSent(), std::optional<QDateTime>(kBase.addSecs(made)));
      highest = std::max(highest, made);
    }
    round = highest + 1;
  }
  EXPECT_EQ(kills, 12);
  EXPECT_GT(round, 2) << "the writer got work done between kills";
}

}  // namespace
}  // namespace zandor
