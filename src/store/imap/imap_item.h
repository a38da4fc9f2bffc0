#pragma once

#include <QStringList>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>

#include "store/imap/imap_core.h"
#include "store/mime/message_reader.h"

namespace zandor::imap {

// The body texts a collection read ahead, by UID, shared with its items.
// Those a helper session fetches arrive later: they are taken in when a text
// is first asked for, and a batch the helper could not fetch is fetched then
// on the run's own session.
class Bodies {
 public:
  using Fetch = std::function<Wholes(const std::vector<uint32_t>& uids)>;
  Bodies(GMimeParserOptions* options, Fetch fetch) : options_(options), fetch_(std::move(fetch)) {}

  // Fetches the messages now, on the run's session.
  void FetchNow(const std::vector<uint32_t>& uids) { Add(fetch_(uids)); }
  // Takes the messages in once the helper has them.
  void Await(std::future<Wholes> wholes, std::vector<uint32_t> uids);
  // Whether the message was read ahead or is on its way.
  bool Holds(uint32_t uid) const;
  // Whether its text is here and Find would wait for nothing, fetch nothing.
  bool Arrived(uint32_t uid) const { return awaited_.empty() && texts_.contains(uid); }
  // The body text read ahead, waiting for what is on its way.
  std::optional<QString> Find(uint32_t uid);

 private:
  void Add(const Wholes& wholes);

  GMimeParserOptions* options_;
  Fetch fetch_;
  std::map<uint32_t, QString> texts_;
  struct Awaited {
    std::future<Wholes> wholes;
    std::vector<uint32_t> uids;
  };
  std::vector<Awaited> awaited_;
};

// A message on the server. Its header came with the folder's listing; its
// whole text is fetched only when Body is asked for and was not read ahead,
// by BODY.PEEK, so reading it changes no flag.
//
// Its entry id is the one it was marked under: its own, else that of the
// first mark sent under its copy key (its Message-ID with what a copy of it
// keeps: Date, From, Subject and size), which the message had before its
// mailbox was renumbered (a new UIDVALIDITY) or renamed, or which its copy in
// another mailbox has (a Gmail label). The Kelvo then keeps knowing it by the
// id it holds, the mark and its parts carry over, and a copy goes once.
class ImapItem final : public MailItem {
 public:
  ImapItem(Core& core, QString mailbox, uint32_t uidValidity, Fetched message,
           std::shared_ptr<Bodies> readAhead = nullptr);

  QString EntryId() const override;
  StoreResult<QString> Text(ItemText which) const override;
  StoreResult<QDateTime> ReceivedTime() const override;
  StoreResult<QDateTime> SentOn() const override;
  bool ReadableAside() const override;
  StoreResult<std::optional<QDateTime>> KelvoSent() const override;
  void SetKelvoSent(const QDateTime& value) override { pendingKelvoSent_ = value; }
  StoreResult<std::optional<SentParts>> KelvoParts() const override;
  void SetKelvoParts(const SentParts& parts) override { pendingParts_ = parts; }
  StoreStatus Save() override;
  StoreStatus Delete() override;

 private:
  // The id the Kelvo knows the message by, and its mark.
  struct Identity {
    QString entryId;
    std::optional<KelvoStateDb::Mark> mark;
  };
  StoreResult<const Identity*> Identified() const;
  StoreResult<std::optional<KelvoStateDb::Mark>> StoredMark() const;
  QString OwnId() const { return EntryIdOf(mailbox_, uidValidity_, message_.uid); }
  StoreResult<const mime::HeaderTexts*> Texts() const;
  StoreResult<QString> Body() const;
  // Selects the folder and checks that the UID still holds this message.
  StoreStatus CheckStillThere(Access access) const;
  StoreFailure Gone() const;

  Core& core_;
  QString mailbox_;
  uint32_t uidValidity_;
  Fetched message_;
  std::shared_ptr<Bodies> readAhead_;
  QByteArray messageId_;
  QByteArray copyKey_;  // the marks' key to its copies
  mutable std::optional<mime::HeaderTexts> texts_;
  mutable std::optional<QString> body_;
  mutable std::optional<Identity> identity_;
  std::optional<QDateTime> pendingKelvoSent_;
  std::optional<SentParts> pendingParts_;
};

// A message being written; Save appends it to Drafts with the \Draft flag.
class ImapNewItem final : public NewMailItem {
 public:
  explicit ImapNewItem(Core& core) : core_(core) {}

  void SetSubject(const QString& subject) override { subject_ = subject; }
  void SetBody(const QString& body) override { body_ = body; }
  void AddRecipient(const QString& recipient) override { recipients_.append(recipient); }
  void SetKelvoSent(const QDateTime& value) override { pendingKelvoSent_ = value; }
  // The first Save appends the message; a later one only records a new
  // KelvoSent value.
  StoreStatus Save() override;
  QString EntryId() const override { return entryId_; }
  StoreStatus Withdraw() override;

 private:
  StoreResult<uint32_t> UidOfAppended(const QString& drafts, uint32_t appendedUid,
                                      const QByteArray& messageId);

  Core& core_;
  QString subject_;
  QString body_;
  QStringList recipients_;
  std::optional<QDateTime> pendingKelvoSent_;
  QString drafts_;
  uint32_t uidValidity_ = 0;
  uint32_t uid_ = 0;
  QString entryId_;
};

}  // namespace zandor::imap
