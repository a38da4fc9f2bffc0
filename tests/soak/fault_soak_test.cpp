// The fault soak: many synchronisations in a row of the real zandor --sync
// against kelvo-sim over a pseudo-terminal, each with a random misbehaviour
// of the Kelvo (a wrong byte, a reply twice, replies joined, too many bytes,
// replaced bytes, silence ended by --timeout, a hang-up) or a SIGKILL of zandor
// at a random moment, while mail arrives and notes are written on the Kelvo
// between runs. After every run the store and the Kelvo's data file are held
// to the rules of soak_state.h; at the end a run without faults must leave
// everything marked, held and uploaded.
//
// ZANDOR_SOAK_RUNS (default 20) and ZANDOR_SOAK_SEED (default 20260601) choose
// the length and the random choices; the seed is printed. The same seed makes
// the same choices while the runs end the same way; a kill lands by timing,
// so after one a repeat may take other turns. ZANDOR_EXE and
// KELVO_SIM_EXE name other copies of the programs (so that a long soak goes on
// while the build folder is rebuilt); ZANDOR_SOAK_KEEP keeps the run's folder.
//
// The long version: ZANDOR_SOAK_RUNS=300 build/tests/test_soak
// --gtest_filter=FaultSoak.* (about a quarter of an hour; docs/benchmarks.md).
#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "process_world.h"
#include "soak_state.h"

namespace zandor::testing {
namespace {

constexpr int kTimeoutSeconds = 2;
constexpr int kMailCap = 120;
constexpr int kNoteCap = 3;

int EnvironmentNumber(const char* name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok && value > 0 ? value : fallback;
}

// The program built with the test, or the one the variable names.
QString ProgramPath(const char* variable, const char* built) {
  const QString named = qEnvironmentVariable(variable);
  return named.isEmpty() ? QString::fromUtf8(built) : named;
}

// What one run does.
struct RunPlan {
  enum class Action { Clean, Fault, Kill };
  Action action = Action::Clean;
  QString fault;  // --fault of kelvo-sim
  int killAfterMs = 0;
  RunFacts facts;

  QString ActionText() const {
    switch (action) {
      case Action::Clean:
        return QStringLiteral("clean");
      case Action::Fault:
        return QStringLiteral("fault ") + fault;
      case Action::Kill:
        return QStringLiteral("kill @%1ms").arg(killAfterMs);
    }
    return QString();
  }
  QString FlagText() const {
    QStringList flags;
    if (facts.full) flags << QStringLiteral("full");
    if (facts.removeFromMail) flags << QStringLiteral("rm-mail");
    if (facts.removeFromKelvo) flags << QStringLiteral("rm-kelvo");
    return flags.isEmpty() ? QStringLiteral("-") : flags.join(QLatin1Char(','));
  }
};

class FaultSoak : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world_.Valid());
    if (qEnvironmentVariableIsSet("ZANDOR_SOAK_KEEP")) {
      world_.KeepFiles();
      std::printf("fault soak: the files stay in %s\n", qPrintable(world_.Root()));
    }
    world_.WriteSetting(QStringLiteral("Com"), QStringLiteral("Port"), QStringLiteral("1"));
    world_.WriteSetting(QStringLiteral("Sync"), QStringLiteral("Days"), QStringLiteral("5"));
    world_.WriteSetting(QStringLiteral("Store"), QStringLiteral("Maildir"), world_.MaildirRoot());
    world_.WriteSetting(QStringLiteral("Split"), QStringLiteral("SplitMode"), QStringLiteral("2"));
    for (const char* folder : {"Sent", "Work", "Drafts", "Trash"}) {
      world_.Mail().Folder(Path({folder}));
    }
    world_.WriteEmptyKelvo();
  }

  int Uniform(int low, int high) {  // both included
    return std::uniform_int_distribution<int>(low, high)(random_);
  }
  bool Chance(int percent) { return Uniform(1, 100) <= percent; }

  QString Filler(int length, const QString& tag) {
    QString text;
    for (int line = 1; text.size() < length; ++line) {
      text +=
          QStringLiteral("%1, line %2: words to fill the line of a message.\n").arg(tag).arg(line);
    }
    text.truncate(length);
    return text + QLatin1Char('\n');
  }

  void AddMail() {
    const int number = ++mailCount_;
    const int size = Chance(55)   ? Uniform(40, 400)
                     : Chance(66) ? Uniform(400, 2600)
                                  : Uniform(2800, 7000);
    TestMessage message;
    message.subject = QStringLiteral("Soak message %1").arg(number);
    message.body = Filler(size, message.subject);
    const QDateTime when = QDateTime::currentDateTimeUtc().addSecs(-3600LL * Uniform(1, 24 * 300));
    message.received = when;
    message.date = when;
    const int folder = Uniform(1, 10);
    const QStringList path = folder <= 5   ? Path({"Inbox"})
                             : folder <= 8 ? Path({"Sent"})
                                           : Path({"Work"});
    // The room for the body is about 2,500 characters beside the other fields.
    partsOf_[world_.Mail().Add(path, message)] = 1 + size / 2500;
  }

  void AddNote() {
    const int number = ++noteCount_;
    const QString subject = QStringLiteral("Kelvo note %1").arg(number);
    QString body = QStringLiteral("Written on the Kelvo, note %1.").arg(number);
    if (Chance(50))
      body +=
          QStringLiteral("\r\n") +
          Filler(Uniform(10, 1500), subject).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    ASSERT_TRUE(world_.AddKelvoNote(subject, QStringLiteral("Ann"), body));
  }

  // The user deletes a message of the chosen folders in the mail program.
  void DeleteInMail() {
    const StoreSnapshot store = TakeStoreSnapshot(world_.MaildirRoot());
    QStringList chosen;
    for (const auto& [unique, message] : store.messages) {
      if (IsChosenFolder(message.folderDir)) chosen << unique;
    }
    const int pick = Uniform(0, 1000);
    if (chosen.isEmpty()) return;
    const MessageFile& message = store.messages.at(chosen[pick % chosen.size()]);
    const QString dir =
        world_.MaildirRoot() +
        (message.folderDir.isEmpty() ? QString() : QLatin1Char('/') + message.folderDir) +
        (message.fileName.contains(QStringLiteral(":2,")) ? QStringLiteral("/cur/")
                                                          : QStringLiteral("/new/"));
    ASSERT_TRUE(QFile::remove(dir + message.fileName)) << qPrintable(dir + message.fileName);
    deletedFromMail_ << chosen[pick % chosen.size()];
  }

  // The user deletes a message on the Kelvo (one the mail has in a chosen
  // folder).
  void DeleteOnKelvo() {
    const StoreSnapshot store = TakeStoreSnapshot(world_.MaildirRoot());
    const DeviceSnapshot device = TakeDeviceSnapshot(world_.DataFile());
    QStringList candidates;
    for (const HeldPart& part : device.held) {
      const auto message = store.messages.find(part.entryId);
      if (message != store.messages.end() && IsChosenFolder(message->second.folderDir) &&
          !candidates.contains(part.entryId)) {
        candidates << part.entryId;
      }
    }
    const int pick = Uniform(0, 1000);
    if (candidates.isEmpty()) return;
    ASSERT_TRUE(world_.RemoveHeld(candidates[pick % candidates.size()]));
  }

  // The replies a run will see, roughly: the handshake, five per upload and
  // four per listing, CmdEnd, six per part to send and the Ack to CmdEnd.
  RunPlan Plan(const StoreSnapshot& store, const DeviceSnapshot& device) {
    RunPlan plan;
    plan.facts.deletedFromMail = deletedFromMail_;
    plan.facts.full = Chance(3);
    plan.facts.removeFromMail = Chance(8);
    plan.facts.removeFromKelvo = Chance(8);
    const int choice = Uniform(1, 100);
    if (choice <= 25) {
      plan.facts.faultFree = true;
      return plan;
    }
    if (choice > 78) {
      plan.action = RunPlan::Action::Kill;
      plan.facts.killed = true;
      std::vector<double> sorted = durationsMs_;
      std::sort(sorted.begin(), sorted.end());
      const double typical = sorted.empty() ? 300.0 : sorted[sorted.size() / 2];
      plan.killAfterMs = Uniform(0, std::max(250, static_cast<int>(typical * 1.3)));
      return plan;
    }
    int parts = 0;
    for (const auto& [unique, message] : store.messages) {
      if (!IsChosenFolder(message.folderDir) || (message.marked && !plan.facts.full)) continue;
      const auto known = partsOf_.find(unique);
      parts += known == partsOf_.end() ? 1 : known->second;
    }
    const int receiveEnd =
        2 + 5 * static_cast<int>(device.written.size()) + 4 * static_cast<int>(device.held.size());
    const int sendEnd = receiveEnd + 6 * parts + 1;
    const int phase = Uniform(1, 100);
    int step = 1;
    if (phase <= 10) {
      step = 1;
    } else if (phase <= 50 || parts == 0) {
      step = Uniform(2, receiveEnd);
    } else if (phase <= 90) {
      step = Uniform(receiveEnd + 1, sendEnd);
    } else {
      step = Uniform(1, sendEnd + 3);
    }
    // The kinds come from a shuffled deck, so that every seven fault runs
    // bring each kind once.
    if (deck_.empty()) {
      deck_ = {"wrong-byte", "twice", "joined", "silence", "hang-up", "too-many", "replace"};
      std::shuffle(deck_.begin(), deck_.end(), random_);
    }
    const char* kind = deck_.back();
    deck_.pop_back();
    static const char* const replacements[] = {"0c", "01", "0a", "0d", "00", "0101", "3132"};
    plan.action = RunPlan::Action::Fault;
    plan.fault = QStringLiteral("%1:%2").arg(step).arg(QLatin1String(kind));
    if (plan.fault.endsWith(QLatin1String("replace"))) {
      plan.fault += QLatin1Char(':') + QLatin1String(replacements[Uniform(0, 6)]);
    }
    return plan;
  }

  QStringList Arguments(const RunPlan& plan) const {
    QStringList arguments{QStringLiteral("--sync"), QStringLiteral("--timeout"),
                          QString::number(kTimeoutSeconds)};
    if (plan.facts.full) arguments << QStringLiteral("--full");
    if (plan.facts.removeFromMail) arguments << QStringLiteral("--remove-from-mail");
    if (plan.facts.removeFromKelvo) arguments << QStringLiteral("--remove-from-kelvo");
    if (plan.facts.full || plan.facts.removeFromMail || plan.facts.removeFromKelvo) {
      arguments << QStringLiteral("--yes");
    }
    return arguments;
  }

  // How the run itself ended, against what its plan allows.
  QStringList CheckOutcome(const RunPlan& plan, const ZandorRun& run) const {
    QStringList broken;
    if (!run.started) return {QStringLiteral("zandor did not start: ") + run.err};
    if (run.hung) broken << QStringLiteral("zandor did not end within the wait");
    const bool killedNow = !run.end.exited && run.end.signal == SIGKILL && run.killed;
    if (!run.end.exited && !killedNow) broken << QStringLiteral("zandor ended by a signal");
    if (run.end.exited && run.end.exitCode > 1) {
      broken << QStringLiteral("zandor exited with %1").arg(run.end.exitCode);
    }
    const QString log = world_.KelvoLog();
    if (plan.action == RunPlan::Action::Clean) {
      if (!run.end.exited || run.end.exitCode != 0) {
        broken << QStringLiteral("a run without faults showed an error");
      }
      if (log.contains(QStringLiteral("the PC broke the dialogue"))) {
        broken << QStringLiteral("a run without faults broke the dialogue");
      }
      if (!log.contains(QStringLiteral("synchronisation 1 complete"))) {
        broken << QStringLiteral("a run without faults did not complete the synchronisation");
      }
    }
    return broken;
  }

  struct Row {
    int run = 0;
    QString action;
    QString flags;
    QString outcome;
    double seconds = 0;
    RunChanges changes;
    int tmpFiles = 0;
    int broken = 0;
  };

  void PrintTable() const {
    std::printf("\nFault soak: seed %llu, %d runs\n", static_cast<unsigned long long>(seed_),
                static_cast<int>(rows_.size()));
    std::printf("%4s  %-26s %-15s %-8s %6s %6s %5s %6s %5s %4s  %s\n", "run", "action", "flags",
                "outcome", "secs", "parts+", "rep", "draft+", "trash", "tmp", "verdict");
    for (const Row& row : rows_) {
      std::printf("%4d  %-26s %-15s %-8s %6.2f %6d %5d %6d %5d %4d  %s\n", row.run,
                  qPrintable(row.action), qPrintable(row.flags), qPrintable(row.outcome),
                  row.seconds, row.changes.newParts, row.changes.repeated, row.changes.newDrafts,
                  row.changes.toTrash, row.tmpFiles,
                  row.broken == 0 ? "ok" : qPrintable(QStringLiteral("BROKEN %1").arg(row.broken)));
    }
    // Per kind of action: how the runs ended.
    std::map<QString, std::map<QString, int>> outcomes;
    int repeated = 0;      // in normal runs: the first try's mark was never saved
    int repeatedFull = 0;  // in full synchronisations, which send everything again
    int drafts = 0;
    int trashed = 0;
    for (const Row& row : rows_) {
      const QString kind = row.action.section(QLatin1Char(' '), 0, 0) +
                           (row.action.startsWith(QLatin1String("fault"))
                                ? QLatin1Char(' ') + row.action.section(QLatin1Char(':'), 1, 1)
                                : QString());
      ++outcomes[kind][row.outcome];
      (row.flags.contains(QLatin1String("full")) ? repeatedFull : repeated) += row.changes.repeated;
      drafts += row.changes.newDrafts;
      trashed += row.changes.toTrash;
    }
    std::printf("\n%-20s %s\n", "action", "outcomes");
    for (const auto& [kind, ends] : outcomes) {
      std::printf("%-20s", qPrintable(kind));
      for (const auto& [outcome, count] : ends) std::printf("  %s: %d", qPrintable(outcome), count);
      std::printf("\n");
    }
    std::printf(
        "parts held again: %d in normal runs (the first try's mark was never saved), %d in "
        "full synchronisations; drafts filed: %d; moved to Trash: %d; tmp/ leftovers at the "
        "end: %d\n",
        repeated, repeatedFull, drafts, trashed, rows_.empty() ? 0 : rows_.back().tmpFiles);
    std::fflush(stdout);
  }

  // Runs one synchronisation as planned and checks everything after it.
  void RunOnce(int number, const RunPlan& plan) {
    const StoreSnapshot before = TakeStoreSnapshot(world_.MaildirRoot());
    const DeviceSnapshot deviceBefore = TakeDeviceSnapshot(world_.DataFile());
    ASSERT_TRUE(deviceBefore.loaded) << deviceBefore.error.toStdString();

    QStringList simArguments;
    if (plan.action == RunPlan::Action::Fault)
      simArguments << QStringLiteral("--fault") << plan.fault;
    ASSERT_TRUE(world_.StartKelvo(simArguments)) << world_.KelvoLog().toStdString();
    const ZandorRun run = world_.RunZandor(
        Arguments(plan),
        plan.action == RunPlan::Action::Kill ? std::optional<int>(plan.killAfterMs) : std::nullopt,
        60000);
    world_.StopKelvo();
    ASSERT_TRUE(run.started) << run.err.toStdString();
    if (!run.killed && run.end.exited && !plan.fault.contains(QLatin1String("silence"))) {
      durationsMs_.push_back(run.end.wallSeconds * 1000);
    }

    const StoreSnapshot after = TakeStoreSnapshot(world_.MaildirRoot());
    const DeviceSnapshot deviceAfter = TakeDeviceSnapshot(world_.DataFile());
    QStringList broken = CheckOutcome(plan, run);
    broken += CheckRun(before, deviceBefore, after, deviceAfter, plan.facts);

    Row row{number,
            plan.ActionText(),
            plan.FlagText(),
            run.Outcome(),
            run.end.wallSeconds,
            CompareRun(before, deviceBefore, after, deviceAfter),
            after.tmpFiles,
            static_cast<int>(broken.size())};
    rows_.push_back(row);
    std::fprintf(stderr, "soak run %d: %s, %s: %s, %s\n", number, qPrintable(row.action),
                 qPrintable(row.flags), qPrintable(row.outcome),
                 broken.isEmpty() ? "ok" : "BROKEN");
    EXPECT_TRUE(broken.isEmpty()) << "run " << number << " (seed " << seed_ << ", "
                                  << plan.ActionText().toStdString() << ", "
                                  << plan.FlagText().toStdString() << "):\n  "
                                  << broken.join(QStringLiteral("\n  ")).toStdString()
                                  << "\n--- zandor stdout\n"
                                  << run.out.right(3000).toStdString() << "--- zandor stderr\n"
                                  << run.err.right(3000).toStdString() << "--- kelvo-sim log\n"
                                  << world_.KelvoLog().right(3000).toStdString();
  }

  ProcessWorld world_{ProgramPath("ZANDOR_EXE", ZANDOR_EXE),
                      ProgramPath("KELVO_SIM_EXE", KELVO_SIM_EXE)};
  quint64 seed_ = static_cast<quint64>(EnvironmentNumber("ZANDOR_SOAK_SEED", 20260601));
  std::mt19937_64 random_{seed_};
  std::map<QString, int> partsOf_;
  std::vector<double> durationsMs_;
  std::vector<Row> rows_;
  std::vector<const char*> deck_;
  QStringList deletedFromMail_;
  int mailCount_ = 0;
  int noteCount_ = 0;
};

TEST_F(FaultSoak, ManyFaultyRunsLoseNothingAndResendNoSavedPart) {
  const int runs = EnvironmentNumber("ZANDOR_SOAK_RUNS", 20);
  for (int i = 0; i < 10; ++i) AddMail();
  for (int i = 0; i < 2; ++i) AddNote();

  for (int number = 1; number <= runs && !HasFatalFailure(); ++number) {
    if (number > 1) {
      // Between runs the user gets mail, writes on the Kelvo and deletes on
      // both sides. Each choice is drawn whether or not it is taken, so that
      // the seed gives the same draws.
      const int moreMail = Chance(50) ? Uniform(1, 2) : 0;
      if (mailCount_ < kMailCap) {
        for (int i = moreMail; i > 0; --i) AddMail();
      }
      const bool note = Chance(35);
      if (note &&
          static_cast<int>(TakeDeviceSnapshot(world_.DataFile()).written.size()) < kNoteCap) {
        AddNote();
      }
      if (Chance(8)) DeleteInMail();
      if (Chance(8)) DeleteOnKelvo();
    }
    const RunPlan plan =
        Plan(TakeStoreSnapshot(world_.MaildirRoot()), TakeDeviceSnapshot(world_.DataFile()));
    RunOnce(number, plan);
  }

  // A last run without faults, removing on both sides, settles everything.
  RunPlan last;
  last.facts = RunFacts{false, true, true, false, true, deletedFromMail_};
  RunOnce(runs + 1, last);
  PrintTable();
  const StoreSnapshot store = TakeStoreSnapshot(world_.MaildirRoot());
  const QStringList unsettled = CheckSettled(store, TakeDeviceSnapshot(world_.DataFile()));
  EXPECT_TRUE(unsettled.isEmpty()) << unsettled.join(QStringLiteral("\n")).toStdString();

  // The soak did what it is for: faults and kills landed, and mail went over.
  int faulty = 0;
  int killed = 0;
  for (const Row& row : rows_) {
    faulty += row.outcome == QLatin1String("exit 1") ? 1 : 0;
    killed += row.outcome == QLatin1String("SIGKILL") ? 1 : 0;
  }
  EXPECT_GT(faulty, 0) << "no fault reached zandor";
  EXPECT_GT(killed, 0) << "no kill landed";
  EXPECT_GT(store.messages.size(), 10u);
}

}  // namespace
}  // namespace zandor::testing
