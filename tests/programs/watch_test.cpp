// zandor --watch against kelvo-sim: the simulator's pseudo-terminal is linked
// into a folder that stands for /dev/serial/by-id, made and removed as udev
// does when an adapter is plugged in and out.
#include <gtest/gtest.h>

#include <QDir>

#include "front/window_mark.h"
#include "support/program_world.h"
#include "support/row_name.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

// The world with zandor --watch in it, "Com 1" the stable name of the port.
class Watching {
 public:
  explicit Watching(ProgramWorld& world, const QStringList& kelvo = {}) : world_(world) {
    world.Env().remove(u"DBUS_SESSION_BUS_ADDRESS"_s);  // no notification on the tester's desktop
    EXPECT_TRUE(world.StartKelvo(kelvo));
    pty_ = QSettingsStore(world.Settings()).ReadOr(u"Ports"_s, u"COM1"_s, QString());
    world.Set(u"Ports"_s, u"COM1"_s, world.Path(u"serial/by-id/usb-Kelvo"_s));
    zandor_.setProcessEnvironment(world.Env());
    zandor_.setProcessChannelMode(QProcess::MergedChannels);
    zandor_.start(world.ZandorExe(), {u"--watch"_s, u"--timeout"_s, u"3"_s});
    EXPECT_TRUE(Await(u"waiting for"_s));
  }
  ~Watching() {
    zandor_.terminate();
    zandor_.waitForFinished(20000);
  }
  void Plug() {
    QDir().mkpath(world_.Path(u"serial/by-id"_s));
    QFile::link(pty_, world_.Path(u"serial/by-id/usb-Kelvo"_s));
  }
  void Unplug() { QDir(world_.Path(u"serial"_s)).removeRecursively(); }
  // Whether the output holds text `times` times, waiting a minute at most.
  bool Await(const QString& text, qsizetype times = 1) {
    for (int i = 0; i < 600 && Count(text) < times; ++i) zandor_.waitForReadyRead(100);
    return Count(text) >= times;
  }
  qsizetype Count(const QString& text) {
    said_ += QString::fromUtf8(zandor_.readAll());
    return said_.count(text);
  }
  const QString& Said() const { return said_; }

 private:
  ProgramWorld& world_;
  QString pty_;
  QProcess zandor_;
  QString said_;
};

const QString kRun = u"appeared: synchronising"_s;

// A Kelvo with a note written on it and an old message the mail no longer has.
void WriteKelvo(ProgramWorld& world) {
  QFile data(world.Data());
  ASSERT_TRUE(data.open(QIODevice::WriteOnly));
  data.write(R"({"format": "kelvo-data", "version": 1, "text": "western",
    "written": [{"subject": "From the road", "to": "ann@example.org", "body": "Hi"}],
    "held": [{"deviceId": "00000007", "entryId": "gone.M1", "kind": 1,
              "record": ["Old", "Ann", "Sam", "Old.", "14-Nov-2023 9:30:00", "Inbox", "", ""]}]})");
}

struct PlugInRow {
  const char* name;
  const char* removals;  // the [PluggedIn] keys ticked besides Sync
  bool keepsOld;         // the Kelvo still holds the message the mail lost
  const char* first;     // the first run's notification
  const char* second;    // the second's: the note from the Kelvo is not in the Inbox
};

class WatchPlugIns : public ::testing::TestWithParam<PlugInRow> {};

// Each plug-in starts one run with the stored options, never in full, and
// removes only what Options agreed to for such runs; its outcome is told.
TEST_P(WatchPlugIns, EachPlugInStartsOneRun) {
  const PlugInRow& row = GetParam();
  ProgramWorld world;
  world.Add({u"Inbox"_s}, u"A"_s);
  WriteKelvo(world);
  world.Set(u"PluggedIn"_s, u"Sync"_s, u"1"_s);
  for (const QString& key : QString::fromLatin1(row.removals).split(u' ', Qt::SkipEmptyParts))
    world.Set(u"PluggedIn"_s, key, u"1"_s);
  {
    Watching watching(world);
    watching.Plug();
    ASSERT_TRUE(watching.Await(u"Notification: "_s + QLatin1String(row.first)))
        << watching.Said().toStdString();
    watching.Unplug();
    ASSERT_TRUE(watching.Await(u"is gone"_s));
    watching.Plug();
    EXPECT_TRUE(watching.Await(u"Notification: "_s + QLatin1String(row.second)))
        << watching.Said().toStdString();
    EXPECT_EQ(watching.Count(kRun), 2);
  }
  world.StopKelvo();
  EXPECT_EQ(world.Held().contains(u"gone.M1"_s), row.keepsOld);
}

const PlugInRow kPlugInRows[] = {
    {"NothingRemoved", "", true, "Kelvo synchronised: 1 sent, 1 received into Drafts\n",
     "Kelvo synchronised: 0 sent\n"},
    {"RemovalAgreed", "RemoveFromKelvo RemoveFromMail", false,
     "Kelvo synchronised: 1 sent, 1 received into Drafts, 1 removed from the Kelvo\n",
     "Kelvo synchronised: 0 sent, 1 removed from the Kelvo\n"},
};
INSTANTIATE_TEST_SUITE_P(Rows, WatchPlugIns, ::testing::ValuesIn(kPlugInRows), RowName());

// While a window is open it runs the synchronisation: the watcher leaves it.
// A port that comes back during a run starts nothing more, and a Kelvo that
// never answers (switched off) ends the run quietly, without a notification.
TEST(WatchTest, LeavesRunsToTheWindowAndNeverRunsTwice) {
  ProgramWorld world;
  world.Add({u"Inbox"_s}, u"A"_s);
  world.WriteKelvo();
  Watching watching(world, {u"--fault"_s, u"1:silence"_s});
  {
    const std::unique_ptr<WindowMark> window = WindowMark::Take(world.Path(u"state/zandor"_s));
    ASSERT_TRUE(window);
    watching.Plug();
    ASSERT_TRUE(watching.Await(u"the window is open"_s));
    watching.Unplug();
    ASSERT_TRUE(watching.Await(u"is gone"_s));
  }
  watching.Plug();
  ASSERT_TRUE(watching.Await(kRun));
  watching.Unplug();
  watching.Plug();
  EXPECT_TRUE(watching.Await(u"the Kelvo did not answer"_s)) << watching.Said().toStdString();
  EXPECT_TRUE(watching.Await(u"waiting for"_s, 2));
  EXPECT_EQ(watching.Count(kRun), 1);
  EXPECT_EQ(watching.Count(u"Notification"_s), 0);
}

}  // namespace
}  // namespace zandor::testing
