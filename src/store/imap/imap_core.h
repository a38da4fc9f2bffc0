#pragma once

// What the IMAP store's collections and items share: the session, the
// mailbox list, the selected mailbox, the GMime options and the sent marks.
// Private to the store.

#include <QByteArray>
#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "session/clock.h"
#include "store/imap/imap_session.h"
#include "store/kelvo_state_db.h"
#include "store/mail_store.h"
#include "store/mime/gmime_ptr.h"

namespace zandor::imap {

struct Mailbox {
  QString name;  // as the server spells it (modified UTF-7)
  QChar delimiter;
  QStringList attributes;  // without the backslash: "Sent", "Noselect", "HasChildren"
  bool Is(const char* attribute) const;
};

// One message as a fetch gave it; what was not asked for is empty.
struct Fetched {
  uint32_t uid = 0;
  std::optional<qint64> received;  // INTERNALDATE, msecs since the epoch
  qint64 size = 0;                 // RFC822.SIZE, with the header
  QByteArray header;
  QByteArray whole;
};

enum class Access { ReadOnly, ReadWrite };

class Lookahead;

// What a UID FETCH brings besides UID and INTERNALDATE: nothing, the header
// with the size, or the whole message; always by BODY.PEEK, so no flag changes.
enum class Part { None, Header, Whole };

// A mailbox's messages as a listing gave them. A small mailbox is listed
// whole (its headers cost less than a search's round trip); a large one from
// two days before the day asked for, since SEARCH SINCE reads INTERNALDATE in
// the server's time zone. The caller refines to the local day.
struct Listing {
  uint32_t uidValidity = 0;
  uint32_t exists = 0;
  std::optional<QDate> since;  // what the entries cover: nullopt for all
  std::vector<Fetched> entries;
};

// Single commands on a session, as libetpan's codes: the run's session sends
// them through Core::Run, the helpers that read ahead directly.
int ExamineOn(mailimap* imap, const QString& mailbox, Access access);
int FetchOn(mailimap* imap, const std::vector<uint32_t>& uids, Part part,
            std::vector<Fetched>& messages);
// Lists the selected mailbox (exists and UIDVALIDITY as its selection gave
// them) for the day: UID SEARCH SINCE when it is large, then the headers.
int ListOn(mailimap* imap, std::optional<QDate> since, Listing& listing);

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
  using Command = std::function<int(mailimap*)>;
  StoreStatus Run(FailureKind kind, const QString& what, const Command& command);
  // Every mailbox of the account, listed once until forgotten.
  StoreResult<const std::vector<Mailbox>*> Mailboxes();
  void ForgetMailboxes() { mailboxes_.reset(); }
  // Whether the mailboxes were listed moments ago and no mail was read since:
  // the checks that open a run follow one another, and share one listing.
  bool ListingIsFresh() const;
  void NoteListingRead() { listingRead_ = true; }
  // The mailbox that serves as a default folder: the one with its SPECIAL-USE
  // attribute, else one of its usual names; nullopt when there is none.
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

  Account account;
  QLocale locale;
  const Clock& clock;
  mime::ParserOptionsPtr options;
  KelvoStateDb state;
  // The helpers reading the run's mail ahead, while the count lasts.
  std::unique_ptr<Lookahead> lookahead;

 private:
  // Forgets a session whose connection was lost: no LOGOUT on a dead line.
  void Drop();
  StoreStatus Reconnect(const QString& mailbox, Access access, uint32_t uidValidity);

  std::unique_ptr<Session> session_;
  bool reconnecting_ = false;
  std::optional<std::vector<Mailbox>> mailboxes_;
  std::chrono::steady_clock::time_point listedAt_;
  bool listingRead_ = false;
  QString selected_;
  Access selectedAccess_ = Access::ReadOnly;
};

// A message's entry id: "<UIDVALIDITY>:<UID>:<mailbox>".
QString EntryIdOf(const QString& mailbox, uint32_t uidValidity, uint32_t uid);

}  // namespace zandor::imap
