#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "store/store_result.h"

namespace zandor {

// The store's default folders, numbered as the store's automation numbers them.
enum class DefaultFolder { Trash = 3, Outbox = 4, SentItems = 5, Inbox = 6, Drafts = 16 };

// A folder as the tree and the walk see it. The entry id is unique in the
// store and stable across runs; the name is what the user sees. (EntryId and
// Name keep the capitals of the dialogue's own vocabulary, as SyncSession's
// fields do; every other member is camelCase.)
struct FolderRef {
  QString EntryId;
  QString Name;
};

// A folder the store found but cannot use, and why, in words for the user.
struct FolderProblem {
  QString folder;  // as it stands on disk: ".Work", "Inbox/Work"
  QString reason;
};

// The text properties of a message.
enum class ItemText { Subject, SenderName, To, CC, BCC, Body };

// Marks a message as never sent to the Kelvo: 31 January 1968 00:00.
QDateTime NeverSentDate();

// How much of a message the Kelvo holds: the parts it acknowledged, in order,
// of those the message was sent in. A run that ends between two parts leaves
// acknowledged < total, and the next run sends the rest.
struct SentParts {
  int acknowledged = 0;
  int total = 0;
  bool operator==(const SentParts&) const = default;
};

// The seam between the synchronisation and a mail store. Every operation
// returns at once with a value or a StoreFailure whose kind tells the engine
// what it may do next (FailureKind); none throws, none shows anything to the
// user, none reads the settings. What each may fail with, and what it must
// never do, stands beside it.
//
// What a store hands out (collections, items, new items, ReadingAhead
// handles) belongs to the caller but uses the store: it must not outlive
// the store that made it. A store on a network keeps one session, its
// sent marks and its helper threads for all of them, and goes with them.

// One message of a folder. The caller owns it; it must not outlive the store.
class MailItem {
 public:
  virtual ~MailItem() = default;

  // The message's unique identity in the store; stable while its flags change
  // and it moves between folders. Never fails.
  virtual QString EntryId() const = 0;
  // The texts and dates. Fail with Message when the message cannot be read or
  // parsed (the engine then skips it); never change the message.
  virtual StoreResult<QString> Text(ItemText which) const = 0;
  virtual StoreResult<QDateTime> ReceivedTime() const = 0;
  virtual StoreResult<QDateTime> SentOn() const = 0;
  // Whether the texts and dates above can be read on another thread while the
  // store goes on with other work: true when they need nothing of the store's
  // own connection (a file, a text already read ahead).
  virtual bool ReadableAside() const { return true; }

  // The KelvoSent user property: nullopt when the message has none. Reads the
  // pending value when one was set and not saved yet. Fails with Store when
  // the stored marks cannot be read: the message's state is then unknown,
  // never taken as unsent.
  virtual StoreResult<std::optional<QDateTime>> KelvoSent() const = 0;
  // Adds the property when missing, then sets its value. Pending until Save.
  virtual void SetKelvoSent(const QDateTime& value) = 0;
  // The parts acknowledged, saved with the mark; nullopt when none were
  // recorded (a message sent whole, or by a Zandor that did not count them).
  // Reads the pending value like KelvoSent, and fails as it does.
  virtual StoreResult<std::optional<SentParts>> KelvoParts() const = 0;
  // Pending until Save, which commits it with the mark.
  virtual void SetKelvoParts(const SentParts& parts) = 0;
  // Commits the pending property changes in one transaction: after a crash at
  // any moment the stored value is either the old or the new one. The store
  // may make the commit durable in the background: the value reads back at
  // once, and MailStore::SettleSaves waits for the disk and tells a failure.
  // Fails with Store; never rewrites the message itself.
  virtual StoreStatus Save() = 0;
  // Removes the message from its folder. Nothing is lost: it goes to Trash.
  // Fails with Message (gone already) or Store (Trash cannot be written).
  virtual StoreStatus Delete() = 0;
};

// The messages of one folder as listed when the collection was made, to be
// counted, sorted and searched by the day they were received. Owned by the
// caller; must not outlive the store. Its items may outlive it.
class ItemCollection {
 public:
  virtual ~ItemCollection() = default;

  // The messages received on or after the start of the day (local time);
  // every message when there is no day. Fails with Folder when the folder is
  // gone; without a day it never fails.
  virtual StoreResult<int> Count(std::optional<QDate> receivedSince) const = 0;
  // Orders the collection by received time, oldest first; ties by entry id.
  virtual void SortByReceivedTime() = 0;
  // The first message of the collection received on or after the day (every
  // message when there is none), in its order, then the next one after each
  // call; nullptr when there is none.
  virtual std::unique_ptr<MailItem> Find(std::optional<QDate> receivedSince) = 0;
  virtual std::unique_ptr<MailItem> FindNext() = 0;
  // Reads ahead the texts of these messages of the collection (entry ids of
  // items it found), so that reading them later waits on nothing: a store
  // on a network fetches them in bulk. A hint: what cannot be read ahead is
  // read, and fails, when asked for; never changes a message.
  virtual void ReadAhead(const QStringList& /*entryIds*/) {}
};

// A new message being written; becomes a stored message with Save. Owned by
// the caller; must not outlive the store.
class NewMailItem {
 public:
  virtual ~NewMailItem() = default;
  virtual void SetSubject(const QString& subject) = 0;
  virtual void SetBody(const QString& body) = 0;
  virtual void AddRecipient(const QString& recipient) = 0;
  virtual void SetKelvoSent(const QDateTime& value) = 0;
  // Delivers the message (to Drafts) and records its KelvoSent value. After
  // success, EntryId() is set. Fails with Store (Drafts cannot be written)
  // and then leaves no message behind.
  virtual StoreStatus Save() = 0;
  virtual QString EntryId() const = 0;
  // Takes back a message Save delivered, and its mark: for a message whose
  // writer never learned its id, which will offer it again. Harmless before
  // Save. Fails with Store; removes nothing else.
  virtual StoreStatus Withdraw() = 0;
};

// Held while one synchronisation runs on a store; released when destroyed,
// and by the system when the program dies.
class SyncLock {
 public:
  virtual ~SyncLock() = default;
};

// A lock held by an open descriptor (an flock on it): closing the descriptor
// lets it go, as does the program's end.
class DescriptorLock final : public SyncLock {
 public:
  explicit DescriptorLock(int fd) : fd_(fd) {}
  ~DescriptorLock() override;
  DescriptorLock(const DescriptorLock&) = delete;
  DescriptorLock& operator=(const DescriptorLock&) = delete;

 private:
  int fd_;
};

// Held while a store reads a run's mail ahead; it stops when this goes, and
// this must not outlive the store.
class ReadingAhead {
 public:
  virtual ~ReadingAhead() = default;
  // Stops reading ahead, for a run that is being broken off. Thread-safe:
  // it may be called from another thread while the store is used on one,
  // and returns at once. The store ends with the command each of its
  // helpers has in flight and sends no other for the read-ahead: while this
  // handle lives, what waited on it fails at once (Gone) rather than being
  // read on the run's own session. Calling it again does nothing.
  virtual void Cancel() {}
};

// What the marks remember of a message the Kelvo holds, for words about one
// that may be gone from the store since.
struct RememberedMessage {
  QString subject;              // empty when the mark is older than subjects kept
  bool writtenOnKelvo = false;  // filed by a receive phase, not sent
  QDateTime marked;             // when it was sent, or filed
};

// The mail store. It never reads the settings; its caller hands it what it
// needs.
class MailStore {
 public:
  virtual ~MailStore() = default;

  // A default folder. Fails with Folder or Gone; building the tree this way
  // creates nothing (a default folder is made when a message is filed there).
  virtual StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) = 0;
  // The direct subfolders of a folder, in a stable order (by name). Fails
  // with Folder when the folder cannot be listed.
  virtual StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) = 0;
  // The messages of a folder. Fails with Folder when the folder is gone or
  // cannot be listed.
  virtual StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) = 0;
  // A new, unsaved mail message.
  virtual std::unique_ptr<NewMailItem> CreateItem() = 0;
  // A synchronisation is about to begin: a store on a network may open the
  // connections it reads ahead on (ListAhead) now, beside its own login, so
  // that they are ready when the walk says what to read. A hint that never
  // fails and never waits; calling it again before the run does nothing.
  virtual void ExpectRun() {}
  // The run expected will not read ahead after all (refused, or broken off,
  // before it listed anything): what ExpectRun opened goes. Never waits.
  virtual void DropExpectedRun() {}
  // Says which folders a walk is about to list for the day (all messages
  // without one), in its order, and which messages it will then read ahead
  // (ItemCollection::ReadAhead): a store on a network may fetch them side by
  // side meanwhile. A hint that never fails, while the object returned lives;
  // null when the store has nothing to gain.
  virtual std::unique_ptr<ReadingAhead> ListAhead(const std::vector<FolderRef>& /*folders*/,
                                                  std::optional<QDate> /*receivedSince*/) {
    return nullptr;
  }

  // Waits until every MailItem::Save is on the disk; the first failure since
  // the last call, if one failed (Store).
  virtual StoreStatus SettleSaves() { return Done{}; }

  // The folders the store found but cannot use (one that cannot be entered,
  // a damaged one, a name it refuses): they are in no folder list, and the
  // engine names each and counts the selection incomplete. Asked once a run,
  // as the walk begins. Never fails; changes no mail (a store may note in its
  // own state what it told).
  virtual std::vector<FolderProblem> FolderProblems() { return {}; }

  // Takes the store for one synchronisation. Fails with Store, at once,
  // when another synchronisation holds it (another window, a zandor --sync);
  // never waits and writes nothing. Null when the store needs no lock.
  virtual StoreResult<std::unique_ptr<SyncLock>> LockForSync() {
    return std::unique_ptr<SyncLock>();
  }

  // Whether the store holds mail at all; writes nothing. The failure names
  // the folder and what was expected there.
  virtual StoreStatus CheckHoldsMail() { return Done{}; }
  // Whether the KelvoSent marks can be read and written, by writing one. The
  // failure (Store) names the file, the reason and what to do.
  virtual StoreStatus CheckSentMarks() { return Done{}; }
  // What the marks remember of the message with this entry id; nullopt when
  // they hold nothing of it or cannot be read. Reads local state only.
  virtual std::optional<RememberedMessage> Remembered(const QString& /*entryId*/) {
    return std::nullopt;
  }
};

}  // namespace zandor
