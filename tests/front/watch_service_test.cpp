// The Options tick switches zandor --watch through the session's systemd user
// instance, else an autostart entry.
#include "front/watch_service.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/row_name.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;

struct SwitchRow {
  const char* name;
  bool systemd;          // the session has a systemd user instance
  const char* unitFile;  // the service installed beside the program
  bool on;
  int systemctlStatus;   // of the enable or disable
  const char* commands;  // what systemctl was asked, after show-environment
  bool entry;            // an autostart entry is there afterwards
  const char* failure;   // in the reason; empty when it worked
};

class TurnWatcherTest : public ::testing::TestWithParam<SwitchRow> {};

TEST_P(TurnWatcherTest, UsesSystemdElseAutostart) {
  const SwitchRow& row = GetParam();
  const QTemporaryDir home;
  QStringList asked;
  bool started = false;
  WatcherPlaces places{u"/opt/z\"andor/zandor"_s, QString::fromLatin1(row.unitFile),
                       home.filePath(u"autostart"_s),
                       [&](const QStringList& arguments, QString* said) {
                         if (arguments.first() == u"show-environment"_s) return row.systemd ? 0 : 1;
                         asked << arguments.join(u' ');
                         if (said != nullptr) *said = u"Unit zandor-watch.service not found."_s;
                         return row.systemctlStatus;
                       },
                       [&] { return started = true; }};
  const QString entry = home.filePath(u"autostart/zandor-watch.desktop"_s);
  QDir().mkpath(places.autostartFolder);
  if (!row.on) QFile(entry).open(QIODevice::WriteOnly);  // from a session without systemd
  const std::optional<QString> why = TurnWatcher(row.on, places);
  EXPECT_EQ(why.value_or(QString()).contains(QLatin1String(row.failure)), true);
  EXPECT_EQ(why.has_value(), *row.failure != '\0');
  EXPECT_EQ(asked.join(u'|'), QLatin1String(row.commands));
  EXPECT_EQ(QFile::exists(entry), row.entry);
  EXPECT_EQ(started, row.entry);
  QFile written(entry);
  if (row.entry && written.open(QIODevice::ReadOnly)) {
    EXPECT_TRUE(written.readAll().contains("\nExec=\"/opt/z\\\"andor/zandor\" --watch\n"));
  }
}

const SwitchRow kSwitchRows[] = {
    {"SystemdOn", true, "/usr/lib/systemd/user/zandor-watch.service", true, 0,
     "enable --now zandor-watch.service", false, ""},
    {"SystemdOnHomePrefix", true, "/h/.local/lib/systemd/user/zandor-watch.service", true, 0,
     "enable --now /h/.local/lib/systemd/user/zandor-watch.service", false, ""},
    {"SystemdOff", true, "", false, 0, "disable --now zandor-watch.service", false, ""},
    {"SystemdRefuses", true, "", true, 1, "enable --now zandor-watch.service", false,
     "failed: Unit zandor-watch.service not found."},
    {"AutostartOn", false, "", true, 0, "", true, ""},
    {"AutostartOff", false, "", false, 0, "", false, ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, TurnWatcherTest, ::testing::ValuesIn(kSwitchRows), RowName());

}  // namespace
}  // namespace zandor::testing
