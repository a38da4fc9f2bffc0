#pragma once

// What the IMAP store's collections and items share: the session, the
// mailbox list, the selected mailbox, the GMime options and the sent marks.
// The store owns it; its collections and items reach it by reference.
// Private to the store.

#include <QDate>
#include <QLocale>
#include <QString>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "session/clock.h"
#include "store/imap/imap_commands.h"
#include "store/imap/imap_mailboxes.h"
#include "store/imap/imap_session.h"
#include "store/kelvo_state_db.h"
#include "store/mail_store.h"
#include "store/mime/gmime_ptr.h"

namespace zandor::imap {

struct Core {
  Core(Account imapAccount, const QString& statePath, QLocale storeLocale, const Clock& storeClock);
  ~Core();
  Core(const Core&) = delete;
  Core& operator=(const Core&) = delete;

  // The session, opened on first use and again after it was lost.
  StoreResult<Session*> Live();
  // Runs one command on the live session (its libetpan code). A connection
  // found lost is opened once more, the mailbox that was selected selected
  // again, and the command sent again: a run carries on over one loss. A
  // second loss, or a reconnection that fails, is Gone (Refused when the
  // password no longer works); the failure says what was being done.
  //
  // So a command may be sent twice: the lost line may have carried it to
  // the server, which did it, and only its answer went missing. The command
  // is called again from the start (it clears what it collected); one that
  // must not take effect twice looks first, when it is called again, whether
  // it did: FindByMessageId for an APPEND (ImapNewItem::Save) and FindCopy
  // for a COPY (ImapItem::Delete), in imap_commands.h. What does no harm
  // done twice (a read, a SELECT, a flag set, the UID EXPUNGE of one UID, a
  // MOVE, which finds nothing to move the second time) is sent as it is.
  using Command = std::function<int(mailimap*)>;
  StoreStatus Run(FailureKind kind, const QString& what, const Command& command);
  // Every mailbox of the account, listed once until forgotten.
  StoreResult<const MailboxList*> Mailboxes();
  void ForgetMailboxes() {
    mailboxes_.reset();
    defaults_.clear();
  }
  // Whether the mailboxes were listed moments ago and no mail was read since:
  // the checks that open a run follow one another, and share one listing.
  bool ListingIsFresh() const;
  void NoteListingRead() { listingRead_ = true; }
  // The mailbox that serves as a default folder: the one with its SPECIAL-USE
  // attribute, else one of its usual names; nullopt when there is none.
  // Found once a listing: the walk asks for each folder.
  StoreResult<std::optional<QString>> DefaultMailbox(DefaultFolder which);
  // The same, created when missing: a message is to be filed there.
  StoreResult<QString> MailboxToFile(DefaultFolder which);
  // Selects (or examines) the mailbox; its UIDVALIDITY.
  StoreResult<uint32_t> Select(const QString& mailbox, Access access);
  uint32_t Exists() const;
  // After a command that selected another mailbox and could not select the
  // one before again: the next Select selects afresh.
  void ForgetSelection() { selected_.clear(); }
  // Lists the mailbox, selected as it was, for the day (see Listing).
  StoreResult<Listing> List(std::optional<QDate> since);
  // UID FETCH of the UIDs (all when empty): UID, INTERNALDATE and the part.
  using Part = imap::Part;
  StoreResult<std::vector<Fetched>> Fetch(const std::vector<uint32_t>& uids, Part part);
  // A failure of the last command, in words.
  StoreFailure Failure(FailureKind kind, const QString& what, int code);

  // Called each time the session logs in, on the thread that uses it.
  std::function<void()> loggedIn;
  Account account;
  QLocale locale;
  const Clock& clock;
  mime::ParserOptionsPtr options;
  KelvoStateDb state;

 private:
  // Forgets a session whose connection was lost: no LOGOUT on a dead line.
  void Drop();
  StoreStatus Reconnect(const QString& mailbox, Access access, uint32_t uidValidity);
  // Asks the server for the entries' INTERNALDATEs, in halves where its
  // answer cannot be read; an entry whose own cannot is dated by its header.
  void Date(const QString& mailbox, Access access, uint32_t uidValidity,
            std::span<Fetched> entries);

  std::unique_ptr<Session> session_;
  // Why the last connection was lost, until a connection is had again.
  QString lostBecause_;
  bool reconnecting_ = false;
  std::optional<MailboxList> mailboxes_;
  std::map<DefaultFolder, std::optional<QString>> defaults_;
  std::chrono::steady_clock::time_point listedAt_;
  bool listingRead_ = false;
  QString selected_;
  Access selectedAccess_ = Access::ReadOnly;
};

}  // namespace zandor::imap
