#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

#include "store/store_result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zandor::maildir {

// The KelvoSent marks of a Maildir, kept in zandor-state.sqlite in its root
// so that the message files are never rewritten (Dovecot trusts its cached
// sizes and mbsync its file names). One row per unique name.
//
// A value is kept as milliseconds since the epoch and as the local wall-clock
// time it was written at. It reads back as the same instant while the time
// zone is unchanged; after a change of zone it reads back as the same wall
// clock time, as a date without zone would, so that the never-sent mark
// (31 January 1968 00:00 local) stays that mark.
//
// Every write is one transaction with synchronous=FULL and a rollback
// journal: after a crash at any moment a row holds its old or its new value.
class KelvoStateDb {
 public:
  static QString FileName();  // "zandor-state.sqlite"

  explicit KelvoStateDb(QString path);
  ~KelvoStateDb();
  KelvoStateDb(const KelvoStateDb&) = delete;
  KelvoStateDb& operator=(const KelvoStateDb&) = delete;

  // The stored value; nullopt when the message has none.
  StoreResult<std::optional<QDateTime>> Get(const QString& unique);
  // Adds or replaces the value, in one transaction.
  StoreStatus Put(const QString& unique, const QDateTime& value);
  // Drops the value (a delivery that failed after its row was written).
  StoreStatus Remove(const QString& unique);
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

  QString path_;
  mutable int lastError_ = 0;  // SQLite's code of the last failure
  std::unique_ptr<sqlite3, DbClose> db_;
  StatementPtr get_;
  StatementPtr put_;
  StatementPtr remove_;
};

}  // namespace zandor::maildir
