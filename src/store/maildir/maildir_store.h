#pragma once

#include <QLocale>
#include <QString>
#include <memory>

#include "session/clock.h"
#include "store/mail_store.h"

namespace zandor {

namespace maildir {
struct StoreCore;
}

// The mail store on a local Maildir, in either common layout (Maildir++ or
// nested folders, told apart by what is on disk). The only part of the
// program that knows Maildir, GMime or the state database.
//
// - Folder entry ids are paths in the layout (".", ".Work.2026", "Inbox/Work");
//   message entry ids are Maildir unique names.
// - KelvoSent marks live in zandor-state.sqlite in the root; message files are
//   never rewritten. Delete moves a message to Trash; a new item is delivered
//   to Drafts.
// - The clock gives "today" for the date filter and the Date of new messages.
//
// The root comes from the caller; the store never reads the settings. Items,
// collections and new items it hands out keep what they need of it alive.
class MaildirStore final : public MailStore {
 public:
  MaildirStore(QString rootPath, QLocale locale, const Clock& clock);
  ~MaildirStore() override;
  MaildirStore(const MaildirStore&) = delete;
  MaildirStore& operator=(const MaildirStore&) = delete;

  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) override;
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) override;
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) override;
  std::unique_ptr<NewMailItem> CreateItem() override;
  StoreStatus CheckHoldsMail() override;
  // A lock on the root folder itself (flock), so that nothing is written.
  StoreResult<std::unique_ptr<SyncLock>> LockForSync() override;
  std::vector<FolderProblem> FolderProblems() override;
  StoreStatus CheckSentMarks() override;
  std::optional<RememberedMessage> Remembered(const QString& entryId) override;
  StoreStatus SettleSaves() override;

  // Whether a root holds mail, as CheckHoldsMail; reads, writes nothing.
  static StoreStatus HoldsMail(const QString& root);

  // The state database's file name in the root ("zandor-state.sqlite").
  static QString StateFileName();

 private:
  std::shared_ptr<maildir::StoreCore> core_;
};

}  // namespace zandor
