#include "support/memory_mail_store.h"

#include <algorithm>

#include "mail/date_filter.h"

namespace zandor::testing {

namespace {

const QString& DefaultFolderId(DefaultFolder which) {
  static const QString inbox = QStringLiteral("Inbox");
  static const QString sent = QStringLiteral("Sent Items");
  static const QString outbox = QStringLiteral("Outbox");
  static const QString drafts = QStringLiteral("Drafts");
  static const QString trash = QStringLiteral("Trash");
  switch (which) {
    case DefaultFolder::Inbox:
      return inbox;
    case DefaultFolder::SentItems:
      return sent;
    case DefaultFolder::Outbox:
      return outbox;
    case DefaultFolder::Drafts:
      return drafts;
    case DefaultFolder::Trash:
      break;
  }
  return trash;
}

class MemoryItem final : public MailItem {
 public:
  MemoryItem(MemoryMailStore& store, QString entryId)
      : store_(store), entryId_(std::move(entryId)) {}

  QString EntryId() const override { return entryId_; }

  StoreResult<QString> Text(ItemText which) const override {
    const MemoryMessage* message = Readable();
    if (message == nullptr) return Failure();
    switch (which) {
      case ItemText::Subject:
        return message->subject;
      case ItemText::SenderName:
        return message->senderName;
      case ItemText::To:
        return message->to;
      case ItemText::CC:
        return message->cc;
      case ItemText::BCC:
        return message->bcc;
      case ItemText::Body:
        break;
    }
    return message->body;
  }
  StoreResult<QDateTime> ReceivedTime() const override {
    const MemoryMessage* message = Readable();
    if (message == nullptr) return Failure();
    return message->receivedTime;
  }
  StoreResult<QDateTime> SentOn() const override {
    const MemoryMessage* message = Readable();
    if (message == nullptr) return Failure();
    return message->sentOn;
  }
  std::optional<QDateTime> KelvoSent() const override {
    if (pending_) return pending_;
    const MemoryMessage* message = store_.Message(entryId_);
    return message == nullptr ? std::nullopt : message->kelvoSent;
  }
  void SetKelvoSent(const QDateTime& value) override { pending_ = value; }
  StoreStatus Save() override {
    if (!pending_) return Done{};
    StoreStatus status = store_.SaveKelvoSent(entryId_, *pending_);
    if (status) pending_.reset();
    return status;
  }
  StoreStatus Delete() override { return store_.DeleteMessage(entryId_); }

 private:
  const MemoryMessage* Readable() const {
    const MemoryMessage* message = store_.Message(entryId_);
    if (message == nullptr || !message->unreadable.isEmpty()) return nullptr;
    return message;
  }
  StoreFailure Failure() const {
    const MemoryMessage* message = store_.Message(entryId_);
    return {message == nullptr ? QStringLiteral("the message %1 is gone").arg(entryId_)
                               : message->unreadable};
  }

  MemoryMailStore& store_;
  QString entryId_;
  std::optional<QDateTime> pending_;
};

class MemoryCollection final : public ItemCollection {
 public:
  MemoryCollection(MemoryMailStore& store, std::vector<QString> ids)
      : store_(store), ids_(std::move(ids)) {}

  int Count() const override { return static_cast<int>(ids_.size()); }
  StoreResult<int> CountRestricted(const QString& filter) const override {
    const std::optional<QDate> date = store_.FilterDate(filter);
    if (!date) return StoreFailure{QStringLiteral("cannot read the filter ") + filter};
    return static_cast<int>(std::count_if(ids_.begin(), ids_.end(),
                                          [&](const QString& id) { return Matches(id, *date); }));
  }
  void SortByReceivedTime() override {
    std::stable_sort(ids_.begin(), ids_.end(), [&](const QString& a, const QString& b) {
      const QDateTime ta = Received(a);
      const QDateTime tb = Received(b);
      if (ta != tb) return ta < tb;
      return a < b;
    });
  }
  std::unique_ptr<MailItem> Find(const QString& filter) override {
    date_ = store_.FilterDate(filter);
    next_ = 0;
    return FindNext();
  }
  std::unique_ptr<MailItem> FindNext() override {
    if (!date_) return nullptr;
    while (next_ < ids_.size()) {
      const QString& id = ids_[next_++];
      if (Matches(id, *date_)) return std::make_unique<MemoryItem>(store_, id);
    }
    return nullptr;
  }

 private:
  QDateTime Received(const QString& id) const {
    const MemoryMessage* message = store_.Message(id);
    return message == nullptr ? QDateTime() : message->receivedTime;
  }
  bool Matches(const QString& id, QDate date) const {
    return store_.Message(id) != nullptr && Received(id) >= QDateTime(date, QTime(0, 0));
  }

  MemoryMailStore& store_;
  std::vector<QString> ids_;
  std::optional<QDate> date_;
  std::size_t next_ = 0;
};

class MemoryNewItem final : public NewMailItem {
 public:
  explicit MemoryNewItem(MemoryMailStore& store) : store_(store) {}
  void SetSubject(const QString& subject) override { item_.subject = subject; }
  void SetBody(const QString& body) override { item_.body = body; }
  void AddRecipient(const QString& recipient) override { item_.recipients << recipient; }
  void SetKelvoSent(const QDateTime& value) override { item_.kelvoSent = value; }
  StoreStatus Save() override { return store_.SaveNewItem(item_); }
  QString EntryId() const override { return item_.entryId; }

 private:
  MemoryMailStore& store_;
  SavedItem item_;
};

}  // namespace

MemoryMailStore::MemoryMailStore(QLocale locale, QDate today)
    : locale_(std::move(locale)), today_(today) {
  for (const DefaultFolder which :
       {DefaultFolder::Inbox, DefaultFolder::SentItems, DefaultFolder::Outbox,
        DefaultFolder::Drafts, DefaultFolder::Trash}) {
    folders_[DefaultFolderId(which)].name = DefaultFolderId(which);
  }
}

MemoryMailStore::~MemoryMailStore() = default;

FolderRef MemoryMailStore::AddFolder(const QString& parentEntryId, const QString& name) {
  const QString id = parentEntryId + QLatin1Char('/') + name;
  Folder& folder = folders_[id];
  folder.name = name;
  folder.parent = parentEntryId;
  return {id, name};
}

void MemoryMailStore::RemoveFolder(const QString& entryId) {
  std::vector<QString> doomed{entryId};
  for (const auto& [id, folder] : folders_) {
    if (id.startsWith(entryId + QLatin1Char('/'))) doomed.push_back(id);
  }
  for (const QString& id : doomed) {
    const auto it = folders_.find(id);
    if (it == folders_.end()) continue;
    for (const QString& message : it->second.messages) messages_.erase(message);
    folders_.erase(it);
  }
}

QString MemoryMailStore::AddMessage(const QString& folderEntryId, MemoryMessage message) {
  if (message.entryId.isEmpty()) {
    message.entryId = QStringLiteral("msg-%1").arg(nextMessage_++, 6, 10, QLatin1Char('0'));
  }
  const QString id = message.entryId;
  folders_[folderEntryId].messages.push_back(id);
  messages_[id] = std::move(message);
  return id;
}

std::vector<MemoryMessage> MemoryMailStore::Messages(const QString& folderEntryId) const {
  std::vector<MemoryMessage> result;
  const auto folder = folders_.find(folderEntryId);
  if (folder == folders_.end()) return result;
  for (const QString& id : folder->second.messages) {
    const auto it = messages_.find(id);
    if (it != messages_.end()) result.push_back(it->second);
  }
  return result;
}

const MemoryMessage* MemoryMailStore::FindMessage(const QString& entryId) const {
  const auto it = messages_.find(entryId);
  return it == messages_.end() ? nullptr : &it->second;
}

QString MemoryMailStore::FolderOf(const QString& entryId) const {
  for (const auto& [id, folder] : folders_) {
    if (std::find(folder.messages.begin(), folder.messages.end(), entryId) !=
        folder.messages.end()) {
      return id;
    }
  }
  return {};
}

StoreResult<FolderRef> MemoryMailStore::GetDefaultFolder(DefaultFolder which) {
  const QString& id = DefaultFolderId(which);
  folders_.try_emplace(id, Folder{id, QString(), {}});  // created when first needed
  return FolderRef{id, id};
}

StoreResult<std::vector<FolderRef>> MemoryMailStore::Subfolders(const FolderRef& folder) {
  if (!HasFolder(folder.EntryId)) {
    return StoreFailure{QStringLiteral("the folder %1 is gone").arg(folder.EntryId)};
  }
  std::vector<FolderRef> children;
  for (const auto& [id, child] : folders_) {  // a map: ordered by id, so by name
    if (child.parent == folder.EntryId && !child.parent.isEmpty()) {
      children.push_back({id, child.name});
    }
  }
  return children;
}

StoreResult<std::unique_ptr<ItemCollection>> MemoryMailStore::Items(const FolderRef& folder) {
  const auto failure = folderFailures_.find(folder.EntryId);
  if (failure != folderFailures_.end()) return StoreFailure{failure->second};
  const auto it = folders_.find(folder.EntryId);
  if (it == folders_.end()) {
    return StoreFailure{QStringLiteral("the folder %1 is gone").arg(folder.EntryId)};
  }
  return std::unique_ptr<ItemCollection>(
      std::make_unique<MemoryCollection>(*this, it->second.messages));
}

std::unique_ptr<NewMailItem> MemoryMailStore::CreateItem() {
  return std::make_unique<MemoryNewItem>(*this);
}

MemoryMessage* MemoryMailStore::Message(const QString& entryId) {
  const auto it = messages_.find(entryId);
  return it == messages_.end() ? nullptr : &it->second;
}

std::optional<QDate> MemoryMailStore::FilterDate(const QString& filter) const {
  return ParseDateFilter(filter, locale_, today_);
}

StoreStatus MemoryMailStore::SaveKelvoSent(const QString& entryId, const QDateTime& value) {
  if (itemSaveFailure_) return StoreFailure{*itemSaveFailure_};
  MemoryMessage* message = Message(entryId);
  if (message == nullptr)
    return StoreFailure{QStringLiteral("the message %1 is gone").arg(entryId)};
  message->kelvoSent = value;
  return Done{};
}

StoreStatus MemoryMailStore::DeleteMessage(const QString& entryId) {
  const QString from = FolderOf(entryId);
  if (from.isEmpty()) return StoreFailure{QStringLiteral("the message %1 is gone").arg(entryId)};
  std::vector<QString>& messages = folders_[from].messages;
  messages.erase(std::remove(messages.begin(), messages.end(), entryId), messages.end());
  folders_[DefaultFolderId(DefaultFolder::Trash)].messages.push_back(entryId);
  return Done{};
}

StoreStatus MemoryMailStore::SaveNewItem(SavedItem& item) {
  ++newItemSaveAttempts_;
  if (newItemSaveFailure_) return StoreFailure{*newItemSaveFailure_};
  const int n = static_cast<int>(saved_.size()) + 1;
  item.entryId = entryIdGenerator_ ? entryIdGenerator_(n)
                                   : QStringLiteral("draft-%1").arg(n, 6, 10, QLatin1Char('0'));
  MemoryMessage message;
  message.entryId = item.entryId;
  message.subject = item.subject;
  message.body = item.body;
  message.to = item.recipients.join(QStringLiteral("; "));
  message.kelvoSent = item.kelvoSent;
  AddMessage(DefaultFolderId(DefaultFolder::Drafts), std::move(message));
  saved_.push_back(item);
  return Done{};
}

}  // namespace zandor::testing
