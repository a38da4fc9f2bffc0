#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "store/store_result.h"

namespace zandor {

// The store's default folders, numbered as the store's automation numbers them.
enum class DefaultFolder { Trash = 3, Outbox = 4, SentItems = 5, Inbox = 6, Drafts = 16 };

// A folder as the tree and the walk see it. The entry id is unique in the
// store and stable across runs; the name is what the user sees.
struct FolderRef {
  QString EntryId;
  QString Name;
};

// The text properties of a message.
enum class ItemText { Subject, SenderName, To, CC, BCC, Body };

// Marks a message as never sent to the Kelvo: 31 January 1968 00:00.
QDateTime NeverSentDate();

// One message of a folder. The caller owns it; it stays usable while the store
// lives. Reads of a message that cannot be parsed fail with a reason; the
// caller then skips the message.
class MailItem {
 public:
  virtual ~MailItem() = default;

  // The message's unique identity in the store; stable while its flags change
  // and it moves between folders.
  virtual QString EntryId() const = 0;
  virtual StoreResult<QString> Text(ItemText which) const = 0;
  virtual StoreResult<QDateTime> ReceivedTime() const = 0;
  virtual StoreResult<QDateTime> SentOn() const = 0;

  // The KelvoSent user property: nullopt when the message has none. Reads the
  // pending value when one was set and not saved yet. Fails when the stored
  // marks cannot be read: the message's state is then unknown, not unsent.
  virtual StoreResult<std::optional<QDateTime>> KelvoSent() const = 0;
  // Adds the property when missing, then sets its value. Pending until Save.
  virtual void SetKelvoSent(const QDateTime& value) = 0;
  // Commits the pending property changes in one transaction: after a crash at
  // any moment the stored value is either the old or the new one. The store
  // may make the commit durable in the background: the value reads back at
  // once, and MailStore::SettleSaves waits for the disk and tells a failure.
  virtual StoreStatus Save() = 0;
  // Removes the message from its folder. Nothing is lost: it goes to Trash.
  virtual StoreStatus Delete() = 0;
};

// The messages of one folder, as a collection that can be counted, restricted,
// sorted and searched. Owned by the caller.
class ItemCollection {
 public:
  virtual ~ItemCollection() = default;

  // All messages of the folder.
  virtual int Count() const = 0;
  // The messages whose received time is on or after the date in the filter
  // text ("[ReceivedTime] >= \"<short date>\" ").
  virtual StoreResult<int> CountRestricted(const QString& filter) const = 0;
  // Orders the collection by received time, oldest first; ties by entry id.
  virtual void SortByReceivedTime() = 0;
  // The first message of the collection that matches the filter, in its order,
  // then the next one after each call; nullptr when there is none.
  virtual std::unique_ptr<MailItem> Find(const QString& filter) = 0;
  virtual std::unique_ptr<MailItem> FindNext() = 0;
};

// A new message being written; becomes a stored message with Save.
class NewMailItem {
 public:
  virtual ~NewMailItem() = default;
  virtual void SetSubject(const QString& subject) = 0;
  virtual void SetBody(const QString& body) = 0;
  virtual void AddRecipient(const QString& recipient) = 0;
  virtual void SetKelvoSent(const QDateTime& value) = 0;
  // Delivers the message (to Drafts) and records its KelvoSent value. After
  // success, EntryId() is set.
  virtual StoreStatus Save() = 0;
  virtual QString EntryId() const = 0;
};

// The mail store. It never reads the settings; its caller hands it what it
// needs. Every failure of the file system comes back as a StoreFailure.
class MailStore {
 public:
  virtual ~MailStore() = default;

  // A default folder; created when first needed.
  virtual StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) = 0;
  // The direct subfolders of a folder, in a stable order (by name).
  virtual StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) = 0;
  // The messages of a folder. Fails when the folder is gone.
  virtual StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) = 0;
  // A new, unsaved mail message.
  virtual std::unique_ptr<NewMailItem> CreateItem() = 0;

  // Waits until every MailItem::Save is on the disk; the first failure since
  // the last call, if one failed.
  virtual StoreStatus SettleSaves() { return Done{}; }

  // Whether the store holds mail at all; writes nothing. The failure names
  // the folder and what was expected there.
  virtual StoreStatus CheckHoldsMail() { return Done{}; }
  // Whether the KelvoSent marks can be read and written, by writing one. The
  // failure names the file, the reason and what to do.
  virtual StoreStatus CheckSentMarks() { return Done{}; }
};

}  // namespace zandor
