#pragma once

#include <sys/types.h>

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <future>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "session/worker_thread.h"
#include "store/mail_store.h"
#include "store/store_result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zandor {

// The KelvoSent marks of either store, Maildir and IMAP, kept in a SQLite
// file of their own so that no message is ever rewritten (Dovecot trusts its
// cached sizes and mbsync its file names; on a server a message cannot be
// changed at all): for a Maildir, zandor-state.sqlite in its root; for an
// IMAP account, a state file of the account's that the caller names. One row
// per message id, with the message's Message-ID where the store gives one
// (the IMAP store adds a digest of what a copy keeps, since a Message-ID may
// be reused), so that the IMAP store finds a message again after its id
// changed.
//
// A value is kept as milliseconds since the epoch and as the local wall-clock
// time it was written at. It reads back as the same instant while the time
// zone is unchanged; after a change of zone it reads back as the same wall
// clock time, as a date without zone would, so that the never-sent mark
// (31 January 1968 00:00 local) stays that mark.
//
// Every write is one transaction with synchronous=FULL: after a crash at any
// moment a row holds its old or its new value. On a local file system the
// journal is a write-ahead log (one sync a commit instead of four); on a
// network or FUSE file system, where SQLite cannot share the log's memory
// safely, it is a rollback journal.
//
// A write in the background goes through a second connection on a thread of
// its own, so that the commit overlaps what the caller does next (the next
// part's bytes on the line). At most one is in flight; the value reads back
// from the moment it is handed over.
//
// While a run holds the store's lock, nothing else writes the rows, so a row
// read or written once is kept in memory (KeepReadsWhile): the scan's check
// of the next message, between two on the line, then reads nothing from the
// file, where it would meet the commit of the mark before it.
class KelvoStateDb {
 public:
  static QString FileName();  // "zandor-state.sqlite"

  // One row: the mark, the parts acknowledged when they were counted, and
  // what names the message when it is gone: its subject, and whether the
  // Kelvo wrote it.
  struct Mark {
    QDateTime sent;
    std::optional<SentParts> parts;
    QString subject{};
    bool writtenOnKelvo = false;
  };

  explicit KelvoStateDb(QString path);
  ~KelvoStateDb();
  KelvoStateDb(const KelvoStateDb&) = delete;
  KelvoStateDb& operator=(const KelvoStateDb&) = delete;

  // A mark and the id it is kept under.
  struct Marked {
    QString unique;
    Mark mark;
  };

  // The stored value; nullopt when the message has none.
  StoreResult<std::optional<Mark>> Get(const QString& unique);
  // The same in words about the message; nullopt when there is none or it
  // cannot be read.
  std::optional<RememberedMessage> Remembered(const QString& unique);
  // The marks kept with the message's Message-ID, first sent first: a store
  // whose ids may change (a mailbox renumbered by its server) finds a message
  // again by it. Empty when there is none.
  StoreResult<std::vector<Marked>> MarksOfMessage(const QByteArray& messageId);
  // Adds or replaces the value, in one transaction, with the Message-ID when
  // one is given.
  StoreStatus Put(const QString& unique, const Mark& mark, const QByteArray& messageId = {});
  // The same in the background: waits for the write in flight, if any, then
  // starts this one and returns. A failure is told by the next Settle.
  void PutInBackground(const QString& unique, const Mark& mark, const QByteArray& messageId = {});
  // Waits until no write is in flight; the first failure since the last
  // Settle, if there was one.
  StoreStatus Settle();
  // Whether the file opened is still the one at its path: deleted or
  // replaced while open, everything written since went with it. Tells so
  // once; Done before the file is opened.
  StoreStatus CheckInPlace();
  // Drops the value (a delivery that failed after its row was written).
  StoreStatus Remove(const QString& unique);
  // The folders a store read at its last run, so that one gone since is
  // told (once); empty at first.
  StoreResult<QStringList> KnownFolders();
  StoreStatus SetKnownFolders(const QStringList& names);
  // Keeps the rows read and written while the run's lock lives (which the
  // returned lock holds), and forgets them before letting it go.
  std::unique_ptr<SyncLock> KeepReadsWhile(std::unique_ptr<SyncLock> runLock);
  // Reads every row and commits one write, so that a file that is damaged,
  // read-only, locked or on a full disk is found before anything is sent.
  StoreStatus Check();

 private:
  struct DbClose {
    void operator()(sqlite3* db) const;
  };
  struct StmtFinalize {
    void operator()(sqlite3_stmt* statement) const;
  };
  using StatementPtr = std::unique_ptr<sqlite3_stmt, StmtFinalize>;

  StoreStatus Open();
  StoreResult<sqlite3_stmt*> Prepared(StatementPtr& slot, const char* sql);
  StoreFailure Failure(const char* what) const;
  StoreStatus Execute(const char* sql);
  StoreStatus WriteUnsynced(const char* sql);
  StoreStatus AddPartColumns();
  StoreStatus AddMessageIdColumn();
  StoreStatus AddNameColumns();
  // The mark of the row the statement stands on, from its first column on.
  static Mark MarkOf(sqlite3_stmt* row, int first);

  struct InFlight {
    QString unique;
    Mark mark;
    QByteArray messageId;
  };

  QString path_;
  mutable int lastError_ = 0;                      // SQLite's code of the last failure
  std::optional<std::pair<dev_t, ino_t>> opened_;  // the file's identity once open
  bool lossTold_ = false;
  std::unique_ptr<sqlite3, DbClose> db_;
  StatementPtr get_;
  StatementPtr byMessageId_;
  StatementPtr put_;
  StatementPtr remove_;
  // The background writer, its thread and its write; the thread goes first,
  // so that the write has ended before the writer is closed.
  std::unique_ptr<KelvoStateDb> writer_;
  std::unique_ptr<WorkerThread> writerThread_;
  std::optional<InFlight> inFlight_;
  // The rows as they stand, by id, while a run holds the lock: the lock owns
  // them, so they go with it (it may outlive this).
  using KeptRows = QHash<QString, std::optional<Mark>>;
  std::weak_ptr<KeptRows> kept_;
  // The kept rows while a run holds the lock; null otherwise.
  KeptRows* Kept() const { return kept_.lock().get(); }
  std::optional<QString> backgroundFailure_;
  std::future<StoreStatus> background_;
};

}  // namespace zandor
