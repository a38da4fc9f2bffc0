// The last run's line comes back from the settings as it was shown, whatever
// the run's end, and the settings hold numbers and names, not the sentence.
#include "front/last_run.h"

#include <gtest/gtest.h>

#include "settings/memory_settings_store.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;

class LastRunTest : public ::testing::TestWithParam<RunOutcome::Kind> {};

TEST_P(LastRunTest, ComesBackAsShown) {
  RunOutcome outcome;
  outcome.kind = GetParam();
  outcome.at = QDateTime(QDate(2026, 3, 4), QTime(18, 32));
  outcome.tally = RunTally{3, 1, 4, 1, 2, 5, 6, 7};
  outcome.receivedInto = u"Entwürfe"_s;
  outcome.port = 3;
  (GetParam() == RunOutcome::Kind::Failed ? outcome.failure : outcome.stopped) = u"it broke"_s;
  MemorySettingsStore settings;
  settings.Write(u"LastRun"_s, u"Outcome"_s, u"Last synchronisation 09:00: failed: old"_s);
  KeepLastRun(settings, outcome);
  EXPECT_EQ(LastRunLine(settings), LastRunText(outcome));
  EXPECT_EQ(settings.Read(u"LastRun"_s, u"Outcome"_s), std::nullopt);
  for (const QString& key : settings.Keys(u"LastRun"_s))
    EXPECT_FALSE(settings.ReadOr(u"LastRun"_s, key, {}).contains(u"synchronisation"_s));
}

INSTANTIATE_TEST_SUITE_P(EachEnd, LastRunTest,
                         ::testing::Values(RunOutcome::Kind::Complete, RunOutcome::Kind::Broken,
                                           RunOutcome::Kind::Failed, RunOutcome::Kind::PortFailed));

TEST(LastRunTest, ASentenceKeptByAnEarlierVersionIsShownAsItStands) {
  MemorySettingsStore settings;
  EXPECT_EQ(LastRunLine(settings), std::nullopt);
  settings.Write(u"LastRun"_s, u"Outcome"_s, u"Last synchronisation 09:00: stopped by Break"_s);
  EXPECT_EQ(LastRunLine(settings), u"Last synchronisation 09:00: stopped by Break"_s);
}

}  // namespace
}  // namespace zandor::testing
