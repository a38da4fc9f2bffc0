#pragma once

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <optional>

#include "store/maildir/store_core.h"
#include "store/mime/message_reader.h"

namespace zandor::maildir {

// A stored message. Its header is read once, when a property first needs it;
// its body only when Body is asked for. A message that another program renamed
// (flags changed) is found again by its unique name.
class MaildirItem final : public MailItem {
 public:
  MaildirItem(std::shared_ptr<StoreCore> core, QByteArray folderDir, MessageEntry entry);

  QString EntryId() const override { return unique_; }
  StoreResult<QString> Text(ItemText which) const override;
  StoreResult<QDateTime> ReceivedTime() const override;
  StoreResult<QDateTime> SentOn() const override;
  StoreResult<std::optional<QDateTime>> KelvoSent() const override;
  void SetKelvoSent(const QDateTime& value) override;
  StoreResult<std::optional<SentParts>> KelvoParts() const override;
  void SetKelvoParts(const SentParts& parts) override { pendingParts_ = parts; }
  StoreStatus Save() override;
  StoreStatus Delete() override;

 private:
  StoreResult<std::optional<KelvoStateDb::Mark>> StoredMark() const;
  bool FindFile() const;  // false when the message is gone from its folder
  StoreResult<const HeaderBlock*> Header() const;
  StoreResult<const HeaderTexts*> Texts() const;
  StoreFailure Gone() const;

  std::shared_ptr<StoreCore> core_;
  mutable QByteArray folderDir_;
  QString unique_;
  mutable QByteArray path_;
  mutable std::optional<qint64> received_;
  mutable bool receivedKnown_;
  mutable std::optional<HeaderBlock> header_;
  mutable std::optional<HeaderTexts> texts_;
  mutable std::optional<QString> body_;
  // The row read once per item; the pending values go with the next Save,
  // and a mark saved without parts is one of a message sent whole.
  mutable std::optional<std::optional<KelvoStateDb::Mark>> stored_;
  std::optional<QDateTime> pendingKelvoSent_;
  std::optional<SentParts> pendingParts_;
};

// A message being written; Save delivers it to Drafts. Plain recipient names
// ("Dummy") are written as empty groups ("Dummy:;"), which read back as the
// name; a body whose last line has no line end is stored with one.
class MaildirNewItem final : public NewMailItem {
 public:
  explicit MaildirNewItem(std::shared_ptr<StoreCore> core) : core_(std::move(core)) {}

  void SetSubject(const QString& subject) override { subject_ = subject; }
  void SetBody(const QString& body) override { body_ = body; }
  void AddRecipient(const QString& recipient) override { recipients_.append(recipient); }
  void SetKelvoSent(const QDateTime& value) override { pendingKelvoSent_ = value; }
  // The first Save delivers the message; a later one only records a new
  // KelvoSent value (message files are never rewritten).
  StoreStatus Save() override;
  QString EntryId() const override { return entryId_; }
  StoreStatus Withdraw() override;

 private:
  std::shared_ptr<StoreCore> core_;
  QByteArray delivered_;  // the file Save wrote
  QString subject_;
  QString body_;
  QStringList recipients_;
  std::optional<QDateTime> pendingKelvoSent_;
  QString entryId_;
};

}  // namespace zandor::maildir
