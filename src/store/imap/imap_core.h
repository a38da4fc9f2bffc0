#pragma once

// What the IMAP store's collections and items share: the session, the
// mailbox list, the selected mailbox, the GMime options and the sent marks.
// Private to the store.

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>
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

struct Core {
  Core(Account imapAccount, const QString& statePath, QLocale storeLocale, const Clock& storeClock);

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
  // The mailbox that serves as a default folder: the one with its SPECIAL-USE
  // attribute, else one of its usual names; nullopt when there is none.
  StoreResult<std::optional<QString>> DefaultMailbox(DefaultFolder which);
  // The same, created when missing: a message is to be filed there.
  StoreResult<QString> MailboxToFile(DefaultFolder which);
  // Selects (or examines) the mailbox; its UIDVALIDITY.
  StoreResult<uint32_t> Select(const QString& mailbox, Access access);
  uint32_t Exists() const;
  // UID SEARCH SINCE, the UIDs found.
  StoreResult<std::vector<uint32_t>> UidsSince(QDate day);
  // UID FETCH of the UIDs (all when empty): UID, INTERNALDATE, and the header
  // with the size, or the whole message, always by BODY.PEEK so that no flag
  // changes.
  enum class Part { None, Header, Whole };
  StoreResult<std::vector<Fetched>> Fetch(const std::vector<uint32_t>& uids, Part part);
  // A failure of the last command, in words.
  StoreFailure Failure(FailureKind kind, const QString& what, int code);

  Account account;
  QLocale locale;
  const Clock& clock;
  mime::ParserOptionsPtr options;
  KelvoStateDb state;

 private:
  // Forgets a session whose connection was lost: no LOGOUT on a dead line.
  void Drop();
  StoreStatus Reconnect(const QString& mailbox, Access access, uint32_t uidValidity);

  std::unique_ptr<Session> session_;
  bool reconnecting_ = false;
  std::optional<std::vector<Mailbox>> mailboxes_;
  QString selected_;
  Access selectedAccess_ = Access::ReadOnly;
};

// A message's entry id: "<UIDVALIDITY>:<UID>:<mailbox>".
QString EntryIdOf(const QString& mailbox, uint32_t uidValidity, uint32_t uid);

}  // namespace zandor::imap
