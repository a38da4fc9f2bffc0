#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "mail/mail_store.h"

namespace zandor::testing {

// One message kept in memory.
struct MemoryMessage {
  QString entryId;  // given by AddMessage when empty
  QString subject;
  QString senderName;
  QString to;
  QString cc;
  QString bcc;
  QString body;
  QDateTime receivedTime;
  QDateTime sentOn;
  std::optional<QDateTime> kelvoSent;
  // Non-empty: every read of the message's texts and times fails with it, as
  // for a message file that cannot be parsed.
  QString unreadable;
};

// A new mail item as it was saved, in the order of the saves.
struct SavedItem {
  QString entryId;
  QString subject;
  QString body;
  QStringList recipients;
  std::optional<QDateTime> kelvoSent;
};

// A MailStore in memory, for testing the phases without a Maildir.
//
// The default folders exist from the start, with their names as entry ids:
// "Inbox", "Sent Items", "Outbox", "Drafts", "Trash". Subfolders get the id
// "<parent id>/<name>". A new mail item that is saved goes to Drafts and is
// recorded in SavedItems(); deleting a message moves it to Trash. The date
// filter is read back in the store's locale, two-digit years nearest today.
class MemoryMailStore final : public MailStore {
 public:
  explicit MemoryMailStore(QLocale locale = QLocale::c(), QDate today = QDate(2026, 3, 1));
  ~MemoryMailStore() override;
  MemoryMailStore(const MemoryMailStore&) = delete;
  MemoryMailStore& operator=(const MemoryMailStore&) = delete;

  // Building the store.
  FolderRef AddFolder(const QString& parentEntryId, const QString& name);
  // Removes a folder and what it holds, as if another program had deleted it.
  void RemoveFolder(const QString& entryId);
  // Adds a message to a folder; returns its entry id.
  QString AddMessage(const QString& folderEntryId, MemoryMessage message);

  // Faults.
  // Every Save of a new mail item fails with this reason (nullopt: none).
  void FailNewItemSaves(std::optional<QString> reason) { newItemSaveFailure_ = std::move(reason); }
  // Every Save of an existing message fails with this reason.
  void FailItemSaves(std::optional<QString> reason) { itemSaveFailure_ = std::move(reason); }
  // Items() of this folder fails with this reason.
  void FailFolder(const QString& entryId, const QString& reason) {
    folderFailures_[entryId] = reason;
  }
  // The entry id of the n-th saved new item (from 1); default "draft-000001".
  void SetEntryIdGenerator(std::function<QString(int n)> generator) {
    entryIdGenerator_ = std::move(generator);
  }

  // Reading back.
  const std::vector<SavedItem>& SavedItems() const { return saved_; }
  int NewItemSaveAttempts() const { return newItemSaveAttempts_; }
  // The messages of a folder in the order they were added.
  std::vector<MemoryMessage> Messages(const QString& folderEntryId) const;
  const MemoryMessage* FindMessage(const QString& entryId) const;
  // The folder a message is in; empty when there is none.
  QString FolderOf(const QString& entryId) const;
  bool HasFolder(const QString& entryId) const { return folders_.count(entryId) != 0; }

  // MailStore.
  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) override;
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) override;
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) override;
  std::unique_ptr<NewMailItem> CreateItem() override;

  // Used by the items and collections of this store.
  struct Folder {
    QString name;
    QString parent;
    std::vector<QString> messages;  // entry ids, in the order added
  };
  MemoryMessage* Message(const QString& entryId);
  std::optional<QDate> FilterDate(const QString& filter) const;
  StoreStatus SaveKelvoSent(const QString& entryId, const QDateTime& value);
  StoreStatus DeleteMessage(const QString& entryId);
  StoreStatus SaveNewItem(SavedItem& item);

 private:
  QLocale locale_;
  QDate today_;
  std::map<QString, Folder> folders_;
  std::map<QString, MemoryMessage> messages_;
  std::vector<SavedItem> saved_;
  std::optional<QString> newItemSaveFailure_;
  std::optional<QString> itemSaveFailure_;
  std::map<QString, QString> folderFailures_;
  std::function<QString(int)> entryIdGenerator_;
  int newItemSaveAttempts_ = 0;
  int nextMessage_ = 1;
};

}  // namespace zandor::testing
