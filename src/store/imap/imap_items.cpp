#include "store/imap/imap_items.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSet>
#include <algorithm>
#include <climits>

namespace zandor::imap {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(ImapItems)
};

// Local midnight at the start of the day.
qint64 Threshold(QDate day) {
  return QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch();
}

bool Matches(const Fetched& message, std::optional<qint64> threshold) {
  return !threshold || (message.received && *message.received >= *threshold);
}

// What fails is left for Body to fetch and tell.
Wholes FetchWholes(Core& core, const QString& mailbox, uint32_t uidValidity,
                   const std::vector<uint32_t>& uids) {
  auto validity = core.Select(mailbox, Access::ReadOnly);
  if (!validity || validity.value() != uidValidity) return std::nullopt;
  auto whole = core.Fetch(uids, Core::Part::Whole);
  if (!whole) return std::nullopt;
  return std::move(whole.value());
}

}  // namespace

ImapItems::ImapItems(Core& core, Lookaheads& ahead, QString mailbox, uint32_t uidValidity,
                     uint32_t exists)
    : core_(core),
      ahead_(ahead),
      mailbox_(std::move(mailbox)),
      uidValidity_(uidValidity),
      exists_(exists),
      bodies_(std::make_shared<Bodies>(
          core_.options.get(),
          [&core, mailbox = mailbox_, uidValidity](const std::vector<uint32_t>& uids) {
            return FetchWholes(core, mailbox, uidValidity, uids);
          })) {}

ImapItems::ImapItems(Core& core, Lookaheads& ahead, QString mailbox, Listing listing)
    : ImapItems(core, ahead, std::move(mailbox), listing.uidValidity, listing.exists) {
  listed_.emplace(listing.since);
  entries_ = std::move(listing.entries);
}

StoreResult<int> ImapItems::Count(std::optional<QDate> receivedSince) const {
  if (!receivedSince) return static_cast<int>(std::min<uint32_t>(exists_, INT_MAX));
  if (auto listed = Listed(receivedSince); !listed) return listed.failure();
  const qint64 threshold = Threshold(*receivedSince);
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [&](const Fetched& m) { return Matches(m, threshold); }));
}

void ImapItems::SortByReceivedTime() {
  if (!listed_) Listed(std::nullopt);
  sorted_ = true;
  Sort();
}

std::unique_ptr<MailItem> ImapItems::Find(std::optional<QDate> receivedSince) {
  threshold_ = receivedSince ? std::optional(Threshold(*receivedSince)) : std::nullopt;
  cursor_ = 0;
  if (!Listed(receivedSince)) entries_.clear();
  return NextMatch();
}

std::unique_ptr<MailItem> ImapItems::FindNext() {
  return NextMatch();
}

void ImapItems::ReadAhead(const QStringList& entryIds) {
  const QSet<QString> wanted(entryIds.begin(), entryIds.end());
  std::vector<uint32_t> batch;
  qint64 bytes = 0;
  const auto fetch = [&] {
    if (batch.empty()) return;
    Lookahead* helpers = ahead_.Current();
    if (auto ahead = helpers ? helpers->FetchWhole(mailbox_, uidValidity_, batch) : std::nullopt) {
      bodies_->Await(std::move(*ahead), std::move(batch));
    } else if (!ahead_.Cancelled()) {
      bodies_->FetchNow(batch);
    }
    batch.clear();
    bytes = 0;
  };
  for (const Fetched& message : entries_) {
    if (!wanted.contains(EntryIdOf(mailbox_, uidValidity_, message.uid)) ||
        bodies_->Holds(message.uid)) {
      continue;
    }
    batch.push_back(message.uid);
    bytes += message.size;
    if (bytes >= kReadAheadBytes) fetch();
  }
  fetch();
}

bool ImapItems::Covers(std::optional<QDate> since) const {
  return listed_ && (!*listed_ || (since && *since >= **listed_));
}

StoreStatus ImapItems::Listed(std::optional<QDate> since) const {
  if (exists_ == 0 || Covers(since)) return Done{};
  if (ahead_.Cancelled()) return Stopped();
  auto validity = core_.Select(mailbox_, Access::ReadOnly);
  if (!validity) return validity.failure();
  auto listing = validity.value() == uidValidity_ ? core_.List(since) : Renumbered();
  if (listing && listing->uidValidity != uidValidity_) listing = Renumbered();
  if (!listing) return listing.failure();
  entries_ = std::move(listing->entries);
  listed_.emplace(listing->since);
  if (sorted_) Sort();
  return Done{};
}

StoreResult<Listing> ImapItems::Renumbered() const {
  return StoreFailure{FailureKind::Folder,
                      //: %1 is a folder on the server, whose message numbers (UIDVALIDITY) changed
                      Text::tr("the folder %1 was renumbered by the server").arg(mailbox_)};
}

void ImapItems::Sort() const {
  std::stable_sort(entries_.begin(), entries_.end(), [](const Fetched& a, const Fetched& b) {
    const qint64 ta = a.received.value_or(LLONG_MIN);
    const qint64 tb = b.received.value_or(LLONG_MIN);
    return ta != tb ? ta < tb : a.uid < b.uid;
  });
}

std::unique_ptr<MailItem> ImapItems::NextMatch() {
  while (cursor_ < entries_.size()) {
    const Fetched& message = entries_[cursor_++];
    if (Matches(message, threshold_)) {
      return std::make_unique<ImapItem>(core_, mailbox_, uidValidity_, message, bodies_);
    }
  }
  return nullptr;
}

}  // namespace zandor::imap
