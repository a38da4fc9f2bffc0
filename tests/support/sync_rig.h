#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "model/kelvo_device.h"
#include "records/conversion.h"
#include "session/clock.h"
#include "session/sync_session.h"
#include "settings/memory_settings_store.h"
#include "settings/sync_options.h"
#include "store/maildir/maildir_store.h"
#include "support/in_process_line.h"
#include "support/maildir_builder.h"
#include "support/recording_host.h"
#include "sync/handshake.h"
#include "sync/sync_context.h"
#include "sync/sync_driver.h"

namespace zandor::testing {

// Folders by their decoded paths.
inline const QStringList kInbox{QStringLiteral("Inbox")};
inline const QStringList kWork{QStringLiteral("Inbox"), QStringLiteral("Work")};
inline const QStringList kSent{QStringLiteral("Sent")};
inline const QStringList kDrafts{QStringLiteral("Drafts")};
inline const QStringList kTrash{QStringLiteral("Trash")};

// A message written on the Kelvo: subject, recipient and body in plain ASCII.
inline sim::WrittenMessage Written(const char* subject, const char* to, const char* body) {
  sim::WrittenMessage message;
  message.fields[0] = subject;
  message.fields[2] = to;
  message.fields[3] = body;
  return message;
}

// Everything a whole synchronisation runs against in-process: a real Maildir
// in a temporary folder, the Kelvo device model behind an in-process line, a
// recording host, plain options and settings, and a clock that stands still
// at noon on 6 December 2026.
// The Maildir store with faults a test can switch on: a new item's save (a
// draft from the Kelvo), an item's save or read of the KelvoSent mark, or a
// folder that cannot be read fail with the given reason. With stableDraftIds, drafts
// report the ids draft-000001, draft-000002, ... so that transcripts do not
// depend on the host and process the Maildir names files after.
struct FaultyStore final : MailStore {
  explicit FaultyStore(MailStore& inner) : inner_(inner) {}
  std::optional<QString> failDraftSaves, failItemSaves, failFolder, failMarkReads;
  QString failFolderId;
  bool stableDraftIds = false;
  int draftsSaved = 0;
  mutable std::optional<QString> unsettled;  // a failed save not told yet
  mutable int savesStarted = 0, savesSettled = 0;

  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) override {
    return inner_.GetDefaultFolder(which);
  }
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) override {
    if (failFolder && folder.EntryId == failFolderId) {
      return StoreFailure{FailureKind::Folder, *failFolder};
    }
    return inner_.Subfolders(folder);
  }
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) override;
  std::vector<FolderProblem> FolderProblems() override { return inner_.FolderProblems(); }
  std::optional<RememberedMessage> Remembered(const QString& id) override {
    return inner_.Remembered(id);
  }
  StoreResult<std::unique_ptr<SyncLock>> LockForSync() override { return inner_.LockForSync(); }
  std::unique_ptr<NewMailItem> CreateItem() override;
  StoreStatus SettleSaves() override {
    const StoreStatus inner = inner_.SettleSaves();
    savesSettled = savesStarted;
    if (!unsettled) return inner;
    const StoreFailure failure{FailureKind::Store, *unsettled};
    unsettled.reset();
    return failure;
  }

 private:
  MailStore& inner_;
};

struct SyncRig {
  explicit SyncRig(MaildirLayout layout = MaildirLayout::PlusPlus)
      : builder(dir.path(), layout),
        store(dir.path(), QLocale::c(), clock),
        line(device),
        host(&line, &session) {
    options.portPath = QStringLiteral("/dev/kelvo-test");
  }

  SyncEnvironment Environment() {
    return SyncEnvironment{
        host, [this] { return options; }, line, faults, settings, clock, tables, QLocale::c()};
  }
  SyncEnd Run() { return RunSynchronisation(session, Environment()); }

  // One phase on its own: the line is opened and the handshake answered.
  SyncContext& Context() {
    if (!context) {
      line.Open(QStringLiteral("/dev/kelvo-test"), LineSettings{});
      context.emplace(session, Environment());
      EXPECT_TRUE(Handshake(*context));
    }
    return *context;
  }

  // Adds a message received and dated `days` before the clock's today, at
  // 09:00, to a folder; returns its unique name.
  QString AddMail(const QStringList& folder, const QString& subject, int days = 1,
                  const QString& body = QStringLiteral("Hello.\n")) {
    TestMessage message;
    message.subject = subject;
    message.body = body;
    message.received = message.date = QDateTime(QDate(2026, 12, 6).addDays(-days), QTime(9, 0));
    return builder.Add(folder, message);
  }

  // Message files in a folder's cur/ and new/.
  int FilesIn(const QStringList& folder) {
    const QDir base(builder.Folder(folder));
    return static_cast<int>(
        QDir(base.filePath(QStringLiteral("cur"))).entryList(QDir::Files).size() +
        QDir(base.filePath(QStringLiteral("new"))).entryList(QDir::Files).size());
  }
  // The entry ids the Kelvo holds, in its order.
  QStringList HeldEntryIds() const {
    QStringList ids;
    for (const sim::HeldMessage& held : device.Held()) ids << QString::fromUtf8(held.entryId);
    return ids;
  }

  // The first message in range of a default folder, or null.
  std::unique_ptr<MailItem> FirstItem(DefaultFolder which) {
    StoreResult<FolderRef> folder = store.GetDefaultFolder(which);
    auto items = folder ? store.Items(*folder) : folder.failure();
    return items ? (*items)->Find(session.DateFilter) : nullptr;
  }

  // The Kelvo forgets every held message but those whose entry id is kept.
  void KeepOnDevice(const QStringList& keep) {
    std::vector<sim::HeldMessage> held;
    for (const sim::HeldMessage& h : device.Held()) {
      if (keep.contains(QString::fromUtf8(h.entryId))) held.push_back(h);
    }
    const quint32 next = device.NextDeviceId();
    device = sim::KelvoDevice();
    device.SetNextDeviceId(next);
    for (sim::HeldMessage& h : held) device.AddHeld(std::move(h));
  }

  QTemporaryDir dir;
  FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 0))};
  MaildirBuilder builder;
  MaildirStore store;
  FaultyStore faults{store};
  sim::KelvoDevice device;
  InProcessLine line;
  SyncSession session;
  RecordingHost host;
  SyncOptions options;
  MemorySettingsStore settings;
  ConversionTables tables = BuildConversionTables();
  std::optional<SyncContext> context;
};

}  // namespace zandor::testing
