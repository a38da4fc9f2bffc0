// A keyring that answers after the wait is over: the job it answers must
// still be alive then, and gone once it has answered.

#include "front/keyring_wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>

#include "support/row_name.h"

namespace zandor::testing {
namespace {

// A job whose answer comes through a callback that holds it by a plain
// pointer, as a keyring library's does.
class LateJob : public QObject {
  Q_OBJECT
 public:
  explicit LateJob(int answerAfterMs) : answerAfterMs_(answerAfterMs) {}
  void setAutoDelete(bool autoDelete) { autoDelete_ = autoDelete; }
  void start() {
    QTimer::singleShot(answerAfterMs_, QCoreApplication::instance(), [self = this] {
      Q_EMIT self->finished(self);
      if (self->autoDelete_) self->deleteLater();
    });
  }
 Q_SIGNALS:
  void finished(LateJob* job);

 private:
  int answerAfterMs_;
  bool autoDelete_ = true;
};

struct WaitRow {
  const char* name;
  int answerAfterMs;
  std::optional<int> waitMs;
  bool finished;
};

class KeyringWaitTest : public ::testing::TestWithParam<WaitRow> {};

TEST_P(KeyringWaitTest, TheJobOutlivesTheWait) {
  const WaitRow& row = GetParam();
  auto job = std::make_unique<LateJob>(row.answerAfterMs);
  QPointer<LateJob> watched(job.get());
  std::optional<std::chrono::milliseconds> wait;
  if (row.waitMs) wait = std::chrono::milliseconds(*row.waitMs);
  EXPECT_EQ(RunToEnd(job, wait), row.finished);
  EXPECT_EQ(job == nullptr, !row.finished);
  EXPECT_FALSE(watched.isNull()) << "the job went before the keyring answered";
  // The late answer arrives, and the job deletes itself after it.
  if (!row.finished) {
    QEventLoop gone;
    QObject::connect(watched.data(), &QObject::destroyed, &gone, &QEventLoop::quit);
    QTimer::singleShot(2000, &gone, &QEventLoop::quit);
    gone.exec();
  }
  EXPECT_EQ(watched.isNull(), !row.finished);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyringWaitTest,
                         ::testing::Values(WaitRow{"AnswersInTime", 10, 500, true},
                                           WaitRow{"AnswersAfterTheWait", 200, 20, false},
                                           WaitRow{"NoDeadline", 200, std::nullopt, true}),
                         RowName());

}  // namespace
}  // namespace zandor::testing

#include "keyring_wait_test.moc"
