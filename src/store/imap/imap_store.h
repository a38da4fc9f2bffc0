#pragma once

#include <QLocale>
#include <QString>
#include <memory>

#include "session/clock.h"
#include "store/imap/imap_account.h"
#include "store/mail_store.h"

namespace zandor {

namespace imap {
struct Core;
class Lookaheads;
struct Mailbox;
}  // namespace imap

// The mail store on an IMAP server, through libetpan; MIME through the same
// GMime reader as the Maildir store.
//
// - Folder entry ids are mailbox names as the server spells them ("INBOX",
//   "Work/2026"); Inbox shows INBOX's children and the other top-level
//   mailboxes that are no default folder. Sent, Drafts and Trash are found by
//   SPECIAL-USE, else by their usual names.
// - Message entry ids are "<UIDVALIDITY>:<UID>:<mailbox>"; the received time
//   is INTERNALDATE.
// - Reading never changes a flag (BODY.PEEK, and EXAMINE where nothing is
//   written). KelvoSent marks live in a state file of the account's, given by
//   the caller. Delete moves one message to Trash; a new item is appended to
//   Drafts.
// - The store alone owns its session, its marks and its helper sessions;
//   what it hands out uses them by reference, so must not outlive it.
class ImapStore final : public MailStore {
 public:
  ImapStore(imap::Account account, const QString& stateFile, QLocale locale, const Clock& clock);
  // Connects and checks the server's certificate, without logging in: that
  // the server is the one trusted, before anyone is asked for a password.
  static StoreStatus ReachServer(const imap::Account& account);
  ~ImapStore() override;
  ImapStore(const ImapStore&) = delete;
  ImapStore& operator=(const ImapStore&) = delete;

  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) override;
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) override;
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) override;
  std::unique_ptr<NewMailItem> CreateItem() override;
  // Starts three helper sessions: each connects (TLS and the certificate
  // checked) beside the run's own session, and logs in only once the run's
  // own has (by its login, or a CheckHoldsMail that finds it logged in), so
  // that on a server allowing one session per user the run's own login is
  // never refused for a helper's sake. A helper refused or lost stays silent:
  // its work is done on the run's own session.
  void ExpectRun() override;
  // The helpers expected go, without being waited for here.
  void DropExpectedRun() override;
  // Lists the mailboxes on the helpers expected, else on up to three helper
  // sessions started now, each of which then fetches the messages read
  // ahead in the mailboxes it listed. Cancelled, or when the handle goes,
  // each helper ends with its command in flight and logs out on its own
  // thread; the store waits for them at the next run's start, or as it goes.
  std::unique_ptr<ReadingAhead> ListAhead(const std::vector<FolderRef>& folders,
                                          std::optional<QDate> receivedSince) override;
  // Logs in and lists the folders anew, as each run begins: a refused
  // password fails with Refused, a server out of reach with Gone, before
  // anything else is done. Checks moments apart with no mail read between
  // them (the login's, the tree's, the run's) share one listing.
  StoreStatus CheckHoldsMail() override;
  // One synchronisation per account at a time: an flock on a file beside
  // the state file.
  StoreResult<std::unique_ptr<SyncLock>> LockForSync() override;
  // The mailboxes read at the last run that the server no longer has
  // (deleted or renamed since): told once, so that this run removes nothing
  // from the Kelvo on their account, and the next one takes them as gone.
  // Records the mailboxes read now in the state file.
  std::vector<FolderProblem> FolderProblems() override;
  StoreStatus CheckSentMarks() override;
  std::optional<RememberedMessage> Remembered(const QString& entryId) override;
  StoreStatus SettleSaves() override;

  // The account's state file under a state folder ($XDG_STATE_HOME/zandor):
  // one per user, host and port.
  static QString StateFilePath(const QString& stateDir, const imap::Account& account);

 private:
  // A few sessions of one user are welcome on any server (most allow ten or
  // more from one address); the run's own makes the fourth.
  static constexpr int kHelpers = 3;

  // Whether the id is where a default folder is or will be made.
  bool IsDefaultPlace(const QString& entryId);
  // Whether the mailbox is Drafts, Trash or below them.
  bool IsFilingPlace(const imap::Mailbox& box);

  // The store's own, which its collections, items and read-ahead handles
  // use by reference: the session and the sent marks, then the helpers,
  // which go first.
  std::unique_ptr<imap::Core> core_;
  std::unique_ptr<imap::Lookaheads> ahead_;
  QString lockFile_;
};

}  // namespace zandor
