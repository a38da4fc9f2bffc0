#include "store/kelvo_state_db.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <utility>

#include "store/byte_names.h"
#include "store/private_files.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(KelvoStateDb)
};

QByteArray NativePath(const QString& path) {
  return BytesOfText(path);
}

bool IsDirectory(const QByteArray& path) {
  struct stat info {};
  return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Whether the file system of the file's folder is local, where the
// write-ahead log's shared memory works; not a network or FUSE one.
bool SharesMemorySafely(const QString& path) {
  struct statfs info {};
  if (::statfs(NativePath(QFileInfo(path).path()).constData(), &info) != 0) return false;
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969UL:      // NFS
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x517BUL:      // SMB
    case 0x65735546UL:  // FUSE (sshfs and friends)
    case 0x01021997UL:  // 9p
    case 0x5346414FUL:  // AFS
    case 0x6B414653UL:  // kAFS
    case 0x00C36400UL:  // Ceph
    case 0x47504653UL:  // GPFS
    case 0x0BD00BD0UL:  // Lustre
      return false;
    default:
      return true;
  }
}

// What the user can do about a file of marks that fails, by SQLite's primary
// result code.
QString Advice(int code) {
  switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      //: Advice after why the file of sent marks failed; “it” is that file
      return Text::tr(
          "Another program is using it (another Zandor?): close it, then "
          "synchronise again.");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
      return Text::tr(
          "Make it a file you may write, in a folder you may write, then "
          "synchronise again.");
    case SQLITE_FULL:
      return Text::tr("Free some space on its disk, then synchronise again.");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return Text::tr(
          "Move it aside and synchronise again: Zandor then starts afresh and "
          "sends every message of the date range once more.");
    default:
      return Text::tr("Check the file and its disk, then synchronise again.");
  }
}

}  // namespace

void KelvoStateDb::DbClose::operator()(sqlite3* db) const {
  sqlite3_close_v2(db);
}
void KelvoStateDb::StmtFinalize::operator()(sqlite3_stmt* statement) const {
  sqlite3_finalize(statement);
}

QString KelvoStateDb::FileName() {
  return QStringLiteral("zandor-state.sqlite");
}

KelvoStateDb::KelvoStateDb(QString path) : path_(std::move(path)) {}

KelvoStateDb::~KelvoStateDb() {
  // Whatever is in flight reaches the disk before the program goes on.
  Settle();
  // Statements go before the connection they belong to.
  get_.reset();
  byMessageId_.reset();
  put_.reset();
  remove_.reset();
}

StoreFailure KelvoStateDb::Failure(const char* what) const {
  lastError_ = db_ ? sqlite3_errcode(db_.get()) : SQLITE_NOMEM;
  QString reason = QString::fromUtf8(db_ ? sqlite3_errmsg(db_.get()) : "out of memory");
  // SQLite calls a file deleted while open read-only; the user needs the cause.
  if (db_ && !IsDirectory(NativePath(QFileInfo(path_).path()))) {
    //: Why the file of sent marks cannot be used; “its” is the file's
    reason = Text::tr("its folder is gone (was the mail folder moved or deleted?)");
  } else if ((lastError_ & 0xFF) == SQLITE_NOTADB || (lastError_ & 0xFF) == SQLITE_CORRUPT) {
    //: %1 is SQLite's own reason
    reason = Text::tr("the file is damaged, or is not Zandor's (%1)").arg(reason);
  }
  // One whole sentence for each of the three: a verb alone does not translate.
  QString sentence;
  if (qstrcmp(what, "open") == 0) {
    //: The sent marks: the file that keeps what was sent to the Kelvo. %1 is that file, %2 why
    sentence = Text::tr("cannot open the sent marks in %1: %2");
  } else if (qstrcmp(what, "write") == 0) {
    //: %1 is the file of sent marks, %2 why
    sentence = Text::tr("cannot write the sent marks in %1: %2");
  } else {
    //: %1 is the file of sent marks, %2 why
    sentence = Text::tr("cannot read the sent marks in %1: %2");
  }
  return StoreFailure{FailureKind::Store, sentence.arg(path_, reason)};
}

StoreStatus KelvoStateDb::Execute(const char* sql) {
  if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    return Failure("open");
  }
  return Done{};
}

StoreStatus KelvoStateDb::Open() {
  if (db_) return Done{};
  PreparePrivateDatabase(path_);
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(NativePath(path_).constData(), &raw,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  db_.reset(raw);
  if (rc != SQLITE_OK) {
    StoreFailure failure = Failure("open");
    db_.reset();
    return failure;
  }
  sqlite3_busy_timeout(db_.get(), 5000);
  const char* journal =
      SharesMemorySafely(path_) ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE";
  // The log is kept small (checkpointed every 64 pages, cut back to 256 KiB)
  // so that a nearly full disk is not filled by it. The tables are made
  // without syncs: they hold nothing yet, and the first mark's commit syncs
  // them with it.
  for (const char* sql : {"PRAGMA synchronous=OFF", journal, "PRAGMA wal_autocheckpoint=64",
                          "PRAGMA journal_size_limit=262144",
                          "CREATE TABLE IF NOT EXISTS kelvo_sent ("
                          " unique_name TEXT PRIMARY KEY NOT NULL,"
                          " msecs INTEGER NOT NULL,"
                          " local_time TEXT NOT NULL,"
                          " parts_acknowledged INTEGER,"
                          " parts_total INTEGER,"
                          " message_id TEXT,"
                          " subject TEXT,"
                          " written_on_kelvo INTEGER) WITHOUT ROWID"}) {
    if (auto done = Execute(sql); !done) {
      db_.reset();
      return done;
    }
  }
  for (auto add : {&KelvoStateDb::AddPartColumns, &KelvoStateDb::AddMessageIdColumn,
                   &KelvoStateDb::AddNameColumns}) {
    if (auto added = (this->*add)(); !added) {
      db_.reset();
      return added;
    }
  }
  if (auto full = Execute("PRAGMA synchronous=FULL"); !full) {
    db_.reset();
    return full;
  }
  if (struct stat info{}; ::stat(NativePath(path_).constData(), &info) == 0) {
    opened_ = std::pair(info.st_dev, info.st_ino);
  }
  return Done{};
}

// Runs a write that need not be durable without waiting for the disk: a
// failure to write still shows, and the next mark's commit syncs it.
StoreStatus KelvoStateDb::WriteUnsynced(const char* sql) {
  sqlite3_exec(db_.get(), "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
  StoreStatus written = Done{};
  if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    written = Failure("write");
    if (sqlite3_get_autocommit(db_.get()) == 0) {
      sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  sqlite3_exec(db_.get(), "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
  return written;
}

StoreStatus KelvoStateDb::CheckInPlace() {
  if (!opened_ || lossTold_) return Done{};
  struct stat info {};
  if (::stat(NativePath(path_).constData(), &info) == 0 &&
      std::pair(info.st_dev, info.st_ino) == *opened_) {
    return Done{};
  }
  lossTold_ = true;
  return StoreFailure{FailureKind::Store,
                      //: %1 is the file of sent marks
                      Text::tr("%1 was deleted or replaced while Zandor used it, so the "
                               "marks of this synchronisation are lost: its messages will "
                               "be sent to the Kelvo again next time")
                          .arg(path_)};
}

// A file written before parts were counted lacks their columns; its rows read
// as messages sent whole, and an older Zandor still reads the new file.
StoreStatus KelvoStateDb::AddPartColumns() {
  sqlite3_stmt* probe = nullptr;
  const int rc = sqlite3_prepare_v2(db_.get(), "SELECT parts_total FROM kelvo_sent LIMIT 0", -1,
                                    &probe, nullptr);
  sqlite3_finalize(probe);
  if (rc == SQLITE_OK) return Done{};
  return Execute(
      "BEGIN;"
      "ALTER TABLE kelvo_sent ADD COLUMN parts_acknowledged INTEGER;"
      "ALTER TABLE kelvo_sent ADD COLUMN parts_total INTEGER;"
      "COMMIT");
}

// Rows of a file from before Message-IDs were kept have none; the index holds
// only the rows that do, so a store that keeps none pays nothing for it.
StoreStatus KelvoStateDb::AddMessageIdColumn() {
  sqlite3_stmt* probe = nullptr;
  const int rc = sqlite3_prepare_v2(db_.get(), "SELECT message_id FROM kelvo_sent LIMIT 0", -1,
                                    &probe, nullptr);
  sqlite3_finalize(probe);
  if (rc != SQLITE_OK) {
    if (auto added = Execute("ALTER TABLE kelvo_sent ADD COLUMN message_id TEXT"); !added) {
      return added;
    }
  }
  return Execute(
      "CREATE INDEX IF NOT EXISTS kelvo_sent_by_message_id ON kelvo_sent (message_id) "
      "WHERE message_id IS NOT NULL");
}

// A file from before the marks named their messages reads as marks of
// unknown subject, sent.
StoreStatus KelvoStateDb::AddNameColumns() {
  sqlite3_stmt* probe = nullptr;
  const int rc = sqlite3_prepare_v2(db_.get(), "SELECT written_on_kelvo FROM kelvo_sent LIMIT 0",
                                    -1, &probe, nullptr);
  sqlite3_finalize(probe);
  if (rc == SQLITE_OK) return Done{};
  return Execute(
      "BEGIN;"
      "ALTER TABLE kelvo_sent ADD COLUMN subject TEXT;"
      "ALTER TABLE kelvo_sent ADD COLUMN written_on_kelvo INTEGER;"
      "COMMIT");
}

StoreResult<sqlite3_stmt*> KelvoStateDb::Prepared(StatementPtr& slot, const char* sql) {
  if (auto opened = Open(); !opened) return opened.failure();
  if (!slot) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr) != SQLITE_OK) return Failure("read");
    slot.reset(raw);
  }
  sqlite3_reset(slot.get());
  sqlite3_clear_bindings(slot.get());
  return slot.get();
}

StoreStatus KelvoStateDb::Check() {
  const auto advised = [this](StoreFailure failure) {
    return StoreFailure{FailureKind::Store,
                        failure.reason + QStringLiteral(".\n\r") + Advice(lastError_ & 0xFF)};
  };
  if (auto opened = Open(); !opened) return advised(opened.failure());
  QString problem;
  auto firstRow = [](void* out, int, char** values, char**) {
    auto* text = static_cast<QString*>(out);
    if (text->isEmpty() && values[0] != nullptr) *text = QString::fromUtf8(values[0]);
    return 0;
  };
  if (sqlite3_exec(db_.get(), "PRAGMA quick_check(1)", firstRow, &problem, nullptr) != SQLITE_OK) {
    return advised(Failure("read"));
  }
  if (problem != QStringLiteral("ok")) {
    return StoreFailure{FailureKind::Store,
                        //: %1 is the file of sent marks, %2 SQLite's finding, %3 advice
                        Text::tr("cannot read the sent marks in %1: the file is damaged "
                                 "(%2).\n\r%3")
                            .arg(path_, problem, Advice(SQLITE_CORRUPT))};
  }
  // A count of checks, so that each check commits a real change.
  const char* write =
      "CREATE TABLE IF NOT EXISTS checks (id INTEGER PRIMARY KEY CHECK (id = 1), count INTEGER);"
      "INSERT INTO checks VALUES (1, 1) ON CONFLICT (id) DO UPDATE SET count = count + 1";
  if (auto written = WriteUnsynced(write); !written) return advised(written.failure());
  return Done{};
}

// Made when first used: a store that keeps no folders (Maildir) has no table.
StoreResult<QStringList> KelvoStateDb::KnownFolders() {
  if (auto opened = Open(); !opened) return opened.failure();
  QStringList names;
  auto add = [](void* out, int, char** values, char**) {
    static_cast<QStringList*>(out)->append(TextOfBytes(values[0]));
    return 0;
  };
  if (sqlite3_exec(db_.get(),
                   "CREATE TABLE IF NOT EXISTS known_folders (name TEXT PRIMARY KEY NOT NULL);"
                   "SELECT name FROM known_folders",
                   add, &names, nullptr) != SQLITE_OK) {
    return Failure("read");
  }
  return names;
}

StoreStatus KelvoStateDb::SetKnownFolders(const QStringList& names) {
  if (auto known = KnownFolders(); !known) return known.failure();
  QByteArray sql = "BEGIN; DELETE FROM known_folders;";
  for (const QString& name : names) {
    char* quoted =
        sqlite3_mprintf("INSERT INTO known_folders VALUES (%Q);", BytesOfText(name).constData());
    sql += quoted;
    sqlite3_free(quoted);
  }
  sql += "COMMIT";
  // Lost at a crash, the list only tells a folder gone once more.
  return WriteUnsynced(sql.constData());
}

}  // namespace zandor
