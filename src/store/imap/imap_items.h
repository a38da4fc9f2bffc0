#pragma once

// The IMAP store's collection: the messages of one mailbox. Private to the
// store.

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "store/imap/imap_core.h"
#include "store/imap/imap_item.h"
#include "store/imap/imap_lookahead.h"
#include "store/mail_store.h"

namespace zandor::imap {

// The messages of one mailbox, listed for a day (see Listing) and refined
// here to the local day; or as a helper listed them ahead. It reaches the
// store's session and helpers by reference, as its items do.
class ImapItems final : public ItemCollection {
 public:
  // Not listed yet: the mailbox as its selection gave it.
  ImapItems(Core& core, Lookaheads& ahead, QString mailbox, uint32_t uidValidity, uint32_t exists);
  // As a helper listed it.
  ImapItems(Core& core, Lookaheads& ahead, QString mailbox, Listing listing);

  StoreResult<int> Count(std::optional<QDate> receivedSince) const override;
  void SortByReceivedTime() override;
  std::unique_ptr<MailItem> Find(std::optional<QDate> receivedSince) override;
  std::unique_ptr<MailItem> FindNext() override;
  // The whole messages in batches of about kReadAheadBytes (attachments and
  // all pass through memory), one UID FETCH each, on the helper that listed
  // the mailbox when there is one; their body texts kept.
  void ReadAhead(const QStringList& entryIds) override;

 private:
  static constexpr qint64 kReadAheadBytes = 8 << 20;

  bool Covers(std::optional<QDate> since) const;
  StoreStatus Listed(std::optional<QDate> since) const;
  StoreResult<Listing> Renumbered() const;
  void Sort() const;
  std::unique_ptr<MailItem> NextMatch();

  Core& core_;
  Lookaheads& ahead_;
  QString mailbox_;
  uint32_t uidValidity_;
  uint32_t exists_;
  // What was listed: nothing yet, every message (nullopt) or those since a day.
  mutable std::optional<std::optional<QDate>> listed_;
  mutable std::vector<Fetched> entries_;
  bool sorted_ = false;
  size_t cursor_ = 0;
  std::optional<qint64> threshold_;
  std::shared_ptr<Bodies> bodies_;
};

}  // namespace zandor::imap
