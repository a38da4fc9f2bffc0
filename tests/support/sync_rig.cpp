#include "support/sync_rig.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

// An item whose Save fails when the store says so, as the Maildir store's
// do: in the background, told by the store's next SettleSaves.
class FaultyItem final : public MailItem {
 public:
  FaultyItem(std::unique_ptr<MailItem> inner, const FaultyStore& store)
      : inner_(std::move(inner)), store_(store) {}
  QString EntryId() const override { return inner_->EntryId(); }
  StoreResult<QString> Text(ItemText which) const override { return inner_->Text(which); }
  StoreResult<QDateTime> ReceivedTime() const override { return inner_->ReceivedTime(); }
  StoreResult<QDateTime> SentOn() const override { return inner_->SentOn(); }
  StoreResult<std::optional<QDateTime>> KelvoSent() const override {
    if (store_.failMarkReads) return StoreFailure{FailureKind::Store, *store_.failMarkReads};
    return inner_->KelvoSent();
  }
  void SetKelvoSent(const QDateTime& value) override { inner_->SetKelvoSent(value); }
  StoreResult<std::optional<SentParts>> KelvoParts() const override { return inner_->KelvoParts(); }
  void SetKelvoParts(const SentParts& parts) override { inner_->SetKelvoParts(parts); }
  StoreStatus Save() override {
    if (!store_.failItemSaves) {
      ++store_.savesStarted;
      return inner_->Save();
    }
    store_.unsettled = store_.failItemSaves;
    return Done{};
  }
  StoreStatus Delete() override { return inner_->Delete(); }

 private:
  std::unique_ptr<MailItem> inner_;
  const FaultyStore& store_;
};

class FaultyItems final : public ItemCollection {
 public:
  FaultyItems(std::unique_ptr<ItemCollection> inner, const FaultyStore& store)
      : inner_(std::move(inner)), store_(store) {}
  StoreResult<int> Count(std::optional<QDate> receivedSince) const override {
    return inner_->Count(receivedSince);
  }
  void SortByReceivedTime() override { inner_->SortByReceivedTime(); }
  std::unique_ptr<MailItem> Find(std::optional<QDate> receivedSince) override {
    return Wrap(inner_->Find(receivedSince));
  }
  std::unique_ptr<MailItem> FindNext() override { return Wrap(inner_->FindNext()); }

 private:
  std::unique_ptr<MailItem> Wrap(std::unique_ptr<MailItem> item) {
    if (!item) return item;
    return std::make_unique<FaultyItem>(std::move(item), store_);
  }
  std::unique_ptr<ItemCollection> inner_;
  const FaultyStore& store_;
};

class FaultyDraft final : public NewMailItem {
 public:
  FaultyDraft(std::unique_ptr<NewMailItem> inner, FaultyStore& store)
      : inner_(std::move(inner)), store_(store) {}
  void SetSubject(const QString& subject) override { inner_->SetSubject(subject); }
  void SetBody(const QString& body) override { inner_->SetBody(body); }
  void AddRecipient(const QString& recipient) override { inner_->AddRecipient(recipient); }
  void SetKelvoSent(const QDateTime& value) override { inner_->SetKelvoSent(value); }
  StoreStatus Save() override {
    if (store_.failDraftSaves) return StoreFailure{FailureKind::Store, *store_.failDraftSaves};
    StoreStatus saved = inner_->Save();
    if (saved) number_ = ++store_.draftsSaved;
    return saved;
  }
  QString EntryId() const override {
    if (!store_.stableDraftIds) return inner_->EntryId();
    return u"draft-%1"_s.arg(number_, 6, 10, QLatin1Char('0'));
  }
  StoreStatus Withdraw() override { return inner_->Withdraw(); }

 private:
  std::unique_ptr<NewMailItem> inner_;
  FaultyStore& store_;
  int number_ = 0;
};

}  // namespace

StoreResult<std::unique_ptr<ItemCollection>> FaultyStore::Items(const FolderRef& folder) {
  if (failFolder && folder.EntryId == failFolderId)
    return StoreFailure{FailureKind::Folder, *failFolder};
  StoreResult<std::unique_ptr<ItemCollection>> items = inner_.Items(folder);
  if (!items) return items;
  return std::unique_ptr<ItemCollection>(std::make_unique<FaultyItems>(std::move(*items), *this));
}

std::unique_ptr<NewMailItem> FaultyStore::CreateItem() {
  return std::make_unique<FaultyDraft>(inner_.CreateItem(), *this);
}

}  // namespace zandor::testing
