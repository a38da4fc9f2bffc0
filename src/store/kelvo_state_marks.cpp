// KelvoStateDb's rows of marks: read, written (at once or in the
// background) and removed. The file itself, its checks and the known folders
// are in kelvo_state_db.cpp.
#include <sqlite3.h>

#include <QCoreApplication>
#include <utility>

#include "store/byte_names.h"
#include "store/kelvo_state_db.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(KelvoStateMarks)
};

QString WallClockText(const QDateTime& value) {
  return value.toLocalTime().toString(Qt::ISODateWithMs);
}

// A run's lock that owns something for as long as it is held, and lets go
// of it first.
class LockOwning final : public SyncLock {
 public:
  LockOwning(std::unique_ptr<SyncLock> lock, std::shared_ptr<void> owned)
      : lock_(std::move(lock)), owned_(std::move(owned)) {}

 private:
  std::unique_ptr<SyncLock> lock_;
  std::shared_ptr<void> owned_;  // goes before lock_
};

}  // namespace

void KelvoStateDb::PutInBackground(const QString& unique, const Mark& mark,
                                   const QByteArray& messageId) {
  if (StoreStatus earlier = Settle(); !earlier) backgroundFailure_ = earlier.reason();
  if (!writer_) {
    writer_ = std::make_unique<KelvoStateDb>(path_);
    writerThread_ = std::make_unique<WorkerThread>();
  }
  inFlight_ = InFlight{unique, mark, messageId};
  if (auto* kept = Kept()) kept->insert(unique, mark);
  background_ = writerThread_->Run([writer = writer_.get(), unique, mark, messageId] {
    return writer->Put(unique, mark, messageId);
  });
}

StoreStatus KelvoStateDb::Settle() {
  if (background_.valid()) {
    if (StoreStatus written = background_.get(); !written) {
      if (!backgroundFailure_) backgroundFailure_ = written.reason();
      // The row holds what it held before, which is read again.
      if (auto* kept = Kept(); kept && inFlight_) kept->remove(inFlight_->unique);
    }
    inFlight_.reset();
  }
  if (!backgroundFailure_) return Done{};
  StoreFailure failure{FailureKind::Store, *backgroundFailure_};
  backgroundFailure_.reset();
  return failure;
}

KelvoStateDb::Mark KelvoStateDb::MarkOf(sqlite3_stmt* row, int first) {
  const qint64 msecs = sqlite3_column_int64(row, first);
  const QString wallClock =
      QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, first + 1)),
                        sqlite3_column_bytes(row, first + 1));
  Mark mark;
  if (sqlite3_column_type(row, first + 3) != SQLITE_NULL) {
    mark.parts = SentParts{sqlite3_column_int(row, first + 2), sqlite3_column_int(row, first + 3)};
  }
  mark.subject =
      QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, first + 4)),
                        sqlite3_column_bytes(row, first + 4));
  mark.writtenOnKelvo = sqlite3_column_int(row, first + 5) != 0;
  const QDateTime instant = QDateTime::fromMSecsSinceEpoch(msecs);
  if (WallClockText(instant) == wallClock) {
    mark.sent = instant;
  } else {
    const QDateTime local = QDateTime::fromString(wallClock, Qt::ISODateWithMs);
    mark.sent = local.isValid() ? local : instant;
  }
  return mark;
}

std::unique_ptr<SyncLock> KelvoStateDb::KeepReadsWhile(std::unique_ptr<SyncLock> runLock) {
  auto rows = std::make_shared<KeptRows>();
  kept_ = rows;
  return std::make_unique<LockOwning>(std::move(runLock), std::move(rows));
}

StoreResult<std::optional<KelvoStateDb::Mark>> KelvoStateDb::Get(const QString& unique) {
  if (inFlight_ && inFlight_->unique == unique) return std::optional<Mark>(inFlight_->mark);
  if (const auto* kept = Kept()) {
    if (const auto found = kept->constFind(unique); found != kept->cend()) return *found;
  }
  auto statement = Prepared(get_,
                            "SELECT msecs, local_time, parts_acknowledged, parts_total, subject, "
                            "written_on_kelvo FROM kelvo_sent WHERE unique_name = ?1");
  if (!statement) return statement.failure();
  sqlite3_stmt* query = statement.value();
  const QByteArray key = BytesOfText(unique);
  sqlite3_bind_text(query, 1, key.constData(), static_cast<int>(key.size()), SQLITE_STATIC);
  const int rc = sqlite3_step(query);
  if (rc == SQLITE_DONE) {
    sqlite3_reset(query);
    if (auto* kept = Kept()) kept->insert(unique, std::nullopt);
    return std::optional<Mark>();
  }
  if (rc != SQLITE_ROW) {
    StoreFailure failure = Failure("read");
    sqlite3_reset(query);
    return failure;
  }
  Mark mark = MarkOf(query, 0);
  sqlite3_reset(query);
  if (auto* kept = Kept()) kept->insert(unique, mark);
  return std::optional<Mark>(std::move(mark));
}

std::optional<RememberedMessage> KelvoStateDb::Remembered(const QString& unique) {
  StoreResult<std::optional<Mark>> got = Get(unique);
  if (!got || !got.value()) return std::nullopt;
  const Mark& mark = *got.value();
  return RememberedMessage{mark.subject, mark.writtenOnKelvo, mark.sent};
}

StoreResult<std::vector<KelvoStateDb::Marked>> KelvoStateDb::MarksOfMessage(
    const QByteArray& messageId) {
  auto statement = Prepared(byMessageId_,
                            "SELECT unique_name, msecs, local_time, parts_acknowledged, "
                            "parts_total, subject, written_on_kelvo FROM kelvo_sent "
                            "WHERE message_id = ?1 "
                            "ORDER BY msecs, unique_name");
  if (!statement) return statement.failure();
  sqlite3_stmt* query = statement.value();
  sqlite3_bind_text(query, 1, messageId.constData(), static_cast<int>(messageId.size()),
                    SQLITE_STATIC);
  std::vector<Marked> found;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
    QString unique =
        TextOfBytes(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)),
                               sqlite3_column_bytes(query, 0)));
    found.push_back({std::move(unique), MarkOf(query, 1)});
  }
  if (rc != SQLITE_DONE) {
    StoreFailure failure = Failure("read");
    sqlite3_reset(query);
    return failure;
  }
  sqlite3_reset(query);
  // The write in flight is the newest value of its row.
  if (inFlight_ && !messageId.isEmpty() && inFlight_->messageId == messageId) {
    std::erase_if(found, [&](const Marked& m) { return m.unique == inFlight_->unique; });
    found.push_back({inFlight_->unique, inFlight_->mark});
  }
  return found;
}

StoreStatus KelvoStateDb::Put(const QString& unique, const Mark& mark,
                              const QByteArray& messageId) {
  const QDateTime& value = mark.sent;
  if (!value.isValid()) {
    return StoreFailure{FailureKind::Store,
                        //: %1 is the message's name in the mail store
                        Text::tr("cannot mark %1 as sent: the date is not valid").arg(unique)};
  }
  auto statement = Prepared(
      put_,
      "INSERT OR REPLACE INTO kelvo_sent (unique_name, msecs, local_time, parts_acknowledged, "
      "parts_total, message_id, subject, written_on_kelvo) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, "
      "?8)");
  if (!statement) return statement.failure();
  sqlite3_stmt* query = statement.value();
  const QByteArray key = BytesOfText(unique);
  const QByteArray wallClock = WallClockText(value).toUtf8();
  sqlite3_bind_text(query, 1, key.constData(), static_cast<int>(key.size()), SQLITE_STATIC);
  sqlite3_bind_int64(query, 2, value.toMSecsSinceEpoch());
  sqlite3_bind_text(query, 3, wallClock.constData(), static_cast<int>(wallClock.size()),
                    SQLITE_STATIC);
  // Unbound parameters are NULL: a message with no parts counted.
  if (mark.parts) {
    sqlite3_bind_int(query, 4, mark.parts->acknowledged);
    sqlite3_bind_int(query, 5, mark.parts->total);
  }
  if (!messageId.isEmpty()) {
    sqlite3_bind_text(query, 6, messageId.constData(), static_cast<int>(messageId.size()),
                      SQLITE_STATIC);
  }
  const QByteArray subject = mark.subject.toUtf8();
  if (!mark.subject.isEmpty()) {
    sqlite3_bind_text(query, 7, subject.constData(), static_cast<int>(subject.size()),
                      SQLITE_STATIC);
  }
  sqlite3_bind_int(query, 8, mark.writtenOnKelvo ? 1 : 0);
  const int rc = sqlite3_step(query);
  StoreStatus result = rc == SQLITE_DONE ? StoreStatus(Done{}) : StoreStatus(Failure("write"));
  sqlite3_reset(query);
  if (auto* kept = Kept()) {
    if (result) {
      kept->insert(unique, mark);
    } else {
      kept->remove(unique);  // the row holds its old value: read it again
    }
  }
  return result;
}

StoreStatus KelvoStateDb::Remove(const QString& unique) {
  auto statement = Prepared(remove_, "DELETE FROM kelvo_sent WHERE unique_name = ?1");
  if (!statement) return statement.failure();
  sqlite3_stmt* query = statement.value();
  const QByteArray key = BytesOfText(unique);
  sqlite3_bind_text(query, 1, key.constData(), static_cast<int>(key.size()), SQLITE_STATIC);
  const int rc = sqlite3_step(query);
  StoreStatus result = rc == SQLITE_DONE ? StoreStatus(Done{}) : StoreStatus(Failure("write"));
  sqlite3_reset(query);
  if (auto* kept = Kept()) kept->remove(unique);
  return result;
}

}  // namespace zandor
