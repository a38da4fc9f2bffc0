#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/first_run.h"
#include "settings/memory_settings_store.h"
#include "settings/qsettings_store.h"
#include "support/row_name.h"

namespace zandor {
namespace {

class SettingsKeyTest : public ::testing::TestWithParam<const char*> {};

// Folder entry ids are settings keys: every one must come back exactly.
TEST_P(SettingsKeyTest, KeyRoundTripsThroughTheIniFile) {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("Zandor.ini"));
  const QString key = QString::fromUtf8(GetParam());
  {
    QSettingsStore store(ini);
    store.Write(QStringLiteral("Folders"), key, QStringLiteral("1"));
  }
  QSettingsStore reopened(ini);
  EXPECT_EQ(reopened.Read(QStringLiteral("Folders"), key), QStringLiteral("1")) << GetParam();
  // No other key answers for it.
  EXPECT_FALSE(reopened.Read(QStringLiteral("Folders"), key + QStringLiteral("x")));
  reopened.Delete(QStringLiteral("Folders"), key);
  EXPECT_FALSE(QSettingsStore(ini).Read(QStringLiteral("Folders"), key));
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsKeyTest,
                         ::testing::Values(".Work.2026", "Inbox/Work", "Inbox/Work/Old mail",
                                           "a\\b", "%2F", "%25", "50% off", "Входящие/Работа",
                                           "&BB4EQgQ,BEAEMAQy-", "Ünïcödé ☃", "key=value; x",
                                           "[Section]", "#hash", " lead and trail ", "a\"b",
                                           "Mixed/CASE"));

TEST(SettingsStoreTest, KeysDifferingInCaseAreDifferentKeys) {
  QTemporaryDir dir;
  QSettingsStore store(dir.filePath(QStringLiteral("z.ini")));
  store.Write(QStringLiteral("Folders"), QStringLiteral("Work"), QStringLiteral("1"));
  EXPECT_FALSE(store.Read(QStringLiteral("Folders"), QStringLiteral("work")));
}

TEST(SettingsStoreTest, PerUserStoreLivesUnderXdgConfigHome) {
  QSettingsStore store;
  EXPECT_TRUE(store.FilePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
  EXPECT_TRUE(store.FilePath().endsWith(QStringLiteral("/Zandor/Zandor.ini")));
}

TEST(SettingsStoreTest, ValuesKeepTheirTextExactly) {
  QTemporaryDir dir;
  QSettingsStore store(dir.filePath(QStringLiteral("z.ini")));
  for (const QString& value : {QStringLiteral("0"), QStringLiteral(" 1 "), QStringLiteral(""),
                               QStringLiteral("a,b"), QStringLiteral("/dev/ttyUSB0")}) {
    store.Write(QStringLiteral("Com"), QStringLiteral("Port"), value);
    EXPECT_EQ(store.Read(QStringLiteral("Com"), QStringLiteral("Port")), value);
  }
}

struct FirstRunCase {
  const char* name;
  std::optional<QString> port;
  std::optional<QString> days;
  int portIndex;
  int rangeIndex;
  QString portAfter;                // what the store holds after the step
  std::optional<QString> daysAfter;
};

class FirstRunTest : public ::testing::TestWithParam<FirstRunCase> {};

TEST_P(FirstRunTest, RestoresPortAndRange) {
  const FirstRunCase& c = GetParam();
  MemorySettingsStore store;
  if (c.port) store.Write(QStringLiteral("Com"), QStringLiteral("Port"), *c.port);
  if (c.days) store.Write(QStringLiteral("Sync"), QStringLiteral("Days"), *c.days);
  const RestoredPortAndRange restored = RunFirstRunStep(store);
  EXPECT_EQ(restored.portIndex, c.portIndex);
  EXPECT_EQ(restored.rangeIndex, c.rangeIndex);
  EXPECT_EQ(store.Read(QStringLiteral("Com"), QStringLiteral("Port")), c.portAfter);
  EXPECT_EQ(store.Read(QStringLiteral("Sync"), QStringLiteral("Days")), c.daysAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FirstRunTest,
    ::testing::Values(
        FirstRunCase{"EmptyStore", std::nullopt, std::nullopt, 0, 1, QStringLiteral("1"),
                     QStringLiteral("2")},
        FirstRunCase{"PortZeroIsAFirstStart", QStringLiteral("0"), QStringLiteral("5"), 0, 1,
                     QStringLiteral("1"), QStringLiteral("2")},
        FirstRunCase{"StoredValuesKept", QStringLiteral("3"), QStringLiteral("5"), 2, 4,
                     QStringLiteral("3"), QStringLiteral("5")},
        FirstRunCase{"DaysZeroLeavesNoSelection", QStringLiteral("2"), QStringLiteral("0"), 1, -1,
                     QStringLiteral("2"), QStringLiteral("0")},
        FirstRunCase{"DaysAbsentLeavesNoSelection", QStringLiteral("4"), std::nullopt, 3, -1,
                     QStringLiteral("4"), std::nullopt},
        FirstRunCase{"PortOutOfRangeSelectsCom1", QStringLiteral("9"), QStringLiteral("1"), 0, 0,
                     QStringLiteral("9"), QStringLiteral("1")},
        FirstRunCase{"PortNegativeSelectsCom1", QStringLiteral("-2"), QStringLiteral("1"), 0, 0,
                     QStringLiteral("-2"), QStringLiteral("1")},
        FirstRunCase{"LenientPort", QStringLiteral(" 2 "), QStringLiteral("&H3"), 1, 2,
                     QStringLiteral(" 2 "), QStringLiteral("&H3")},
        FirstRunCase{"GarbagePortIsAFirstStart", QStringLiteral("abc"), QStringLiteral("4"), 0, 1,
                     QStringLiteral("1"), QStringLiteral("2")}),
    testing::RowName());

TEST(PortPathTest, StoredPathWinsOverTheDefault) {
  MemorySettingsStore store;
  EXPECT_EQ(StoredPortPath(store, 1), QStringLiteral("/dev/ttyS0"));
  EXPECT_EQ(StoredPortPath(store, 4), QStringLiteral("/dev/ttyS3"));
  store.Write(QStringLiteral("Ports"), QStringLiteral("COM2"), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(StoredPortPath(store, 2), QStringLiteral("/dev/ttyUSB0"));
  store.Write(QStringLiteral("Ports"), QStringLiteral("COM3"), QStringLiteral("  "));
  EXPECT_EQ(StoredPortPath(store, 3), QStringLiteral("/dev/ttyS2"));
}

}  // namespace
}  // namespace zandor
