#include "store/imap/imap_item.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <algorithm>
#include <utility>

#include "store/imap/etpan_ptr.h"
#include "store/mime/message_writer.h"

namespace zandor::imap {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(ImapItem)
};

QByteArray WithCrLf(const QByteArray& lf) {
  QByteArray crlf = lf;
  crlf.replace("\r\n", "\n");
  crlf.replace('\n', "\r\n");
  return crlf;
}

DateTimePtr ImapTime(const QDateTime& time) {
  const QDateTime local = time.toLocalTime();
  const int minutes = local.offsetFromUtc() / 60;
  const int zone =
      (minutes < 0 ? -1 : 1) * ((std::abs(minutes) / 60) * 100 + std::abs(minutes) % 60);
  return DateTimePtr(mailimap_date_time_new(local.date().day(), local.date().month(),
                                            local.date().year(), local.time().hour(),
                                            local.time().minute(), local.time().second(), zone));
}

QByteArray MessageIdOf(const QByteArray& header) {
  return mime::FirstHeaderValue(header, "Message-ID").value_or(QByteArray()).trimmed();
}

// What names one message wherever a copy of it is: in another mailbox (a
// Gmail label) or in its own after the server renumbered it. The Message-ID
// alone does not, as broken mailers and list tools reuse it; with it go the
// Date, From and Subject and the size, which a copy keeps. Empty without a
// Message-ID: such a message is only ever itself.
QByteArray CopyKeyOf(const QByteArray& messageId, const Fetched& message) {
  if (messageId.isEmpty()) return {};
  QCryptographicHash digest(QCryptographicHash::Sha256);
  for (const char* field : {"Date", "From", "Subject"}) {
    digest.addData(
        mime::FirstHeaderValue(message.header, field).value_or(QByteArray()).simplified());
    digest.addData(QByteArrayView("\n"));
  }
  digest.addData(QByteArray::number(message.size));
  return messageId + ' ' + digest.result().toHex().left(32);
}

SetPtr SingleUid(uint32_t uid) {
  return SetPtr(mailimap_set_new_single(uid));
}

StoreFailure NoUidExpunge() {
  return StoreFailure{FailureKind::Store,
                      Text::tr("the server cannot remove one message alone (no UIDPLUS)")};
}

// Marks one UID \Deleted and expunges that UID alone: never a plain EXPUNGE,
// which would take every message marked so by anyone.
StoreStatus ExpungeOne(Core& core, uint32_t uid) {
  auto live = core.Live();
  if (!live) return live.failure();
  if (!live.value()->Has("UIDPLUS")) return NoUidExpunge();
  FlagListPtr flags(mailimap_flag_list_new_empty());
  mailimap_flag_list_add(flags.get(), mailimap_flag_new_deleted());
  StoreAttPtr change(mailimap_store_att_flags_new_add_flags_silent(flags.release()));
  auto marked = core.Run(
      //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection
      //: was open
      FailureKind::Store, Text::tr("mark a message deleted"),
      [&](mailimap* imap) { return mailimap_uid_store(imap, SingleUid(uid).get(), change.get()); });
  if (!marked) return marked;
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open; the message marked deleted is removed for good
  return core.Run(FailureKind::Store, Text::tr("expunge a message"),
                  [&](mailimap* imap) { return mailimap_uid_expunge(imap, SingleUid(uid).get()); });
}

}  // namespace

void Bodies::Await(std::future<Wholes> wholes, std::vector<uint32_t> uids) {
  awaited_.push_back({std::move(wholes), std::move(uids)});
}

bool Bodies::Holds(uint32_t uid) const {
  if (texts_.contains(uid)) return true;
  return std::any_of(awaited_.begin(), awaited_.end(), [uid](const Awaited& batch) {
    return std::find(batch.uids.begin(), batch.uids.end(), uid) != batch.uids.end();
  });
}

std::optional<QString> Bodies::Find(uint32_t uid) {
  for (Awaited& batch : awaited_) {
    Wholes wholes = batch.wholes.get();
    Add(wholes ? wholes : fetch_(batch.uids));
  }
  awaited_.clear();
  const auto found = texts_.find(uid);
  if (found == texts_.end()) return std::nullopt;
  return found->second;
}

// What cannot be parsed is left for Body to read and tell.
void Bodies::Add(const Wholes& wholes) {
  if (!wholes) return;
  for (const Fetched& message : *wholes) {
    if (auto body = mime::BodyTextOf(message.whole, options_)) {
      texts_[message.uid] = std::move(body.value());
    }
  }
}

ImapItem::ImapItem(Core& core, QString mailbox, uint32_t uidValidity, Fetched message,
                   std::shared_ptr<Bodies> readAhead)
    : core_(core),
      mailbox_(std::move(mailbox)),
      uidValidity_(uidValidity),
      message_(std::move(message)),
      readAhead_(std::move(readAhead)),
      messageId_(MessageIdOf(message_.header)),
      copyKey_(CopyKeyOf(messageId_, message_)) {}

QString ImapItem::EntryId() const {
  auto identity = Identified();
  // Marks that cannot be read fail KelvoSent too, and nothing is sent then.
  return identity ? identity.value()->entryId : OwnId();
}

StoreResult<const ImapItem::Identity*> ImapItem::Identified() const {
  if (identity_) return &*identity_;
  const QString own = OwnId();
  auto read = core_.state.Get(own);
  if (!read) return read.failure();
  Identity identity{own, std::move(read.value())};
  if (!identity.mark && !copyKey_.isEmpty()) {
    auto earlier = core_.state.MarksOfMessage(copyKey_);
    if (!earlier) return earlier.failure();
    for (KelvoStateDb::Marked& marked : earlier.value()) {
      if (marked.mark.sent != NeverSentDate()) {
        identity = {std::move(marked.unique), std::move(marked.mark)};
        break;
      }
    }
  }
  identity_ = std::move(identity);
  return &*identity_;
}

StoreFailure ImapItem::Gone() const {
  return StoreFailure{FailureKind::Message,
                      //: %1 is the message's id, %2 a folder
                      Text::tr("the message %1 is no longer in %2").arg(OwnId(), mailbox_)};
}

StoreResult<const mime::HeaderTexts*> ImapItem::Texts() const {
  if (!texts_) {
    auto texts = mime::ParseHeaderTexts(message_.header, core_.options.get());
    if (!texts) return texts.failure();
    texts_ = std::move(texts.value());
  }
  return &*texts_;
}

StoreStatus ImapItem::CheckStillThere(Access access) const {
  auto validity = core_.Select(mailbox_, access);
  if (!validity) return validity.failure();
  if (validity.value() != uidValidity_) return Gone();
  auto now = core_.Fetch({message_.uid}, Core::Part::Header);
  if (!now) return now.failure();
  if (now->empty()) return Gone();
  if (MessageIdOf(now->front().header) != messageId_) return Gone();
  return Done{};
}

StoreResult<QString> ImapItem::Body() const {
  if (!body_ && readAhead_) body_ = readAhead_->Find(message_.uid);
  if (!body_) {
    auto validity = core_.Select(mailbox_, Access::ReadOnly);
    if (!validity) return validity.failure();
    if (validity.value() != uidValidity_) return Gone();
    auto whole = core_.Fetch({message_.uid}, Core::Part::Whole);
    if (!whole) return whole.failure();
    if (whole->empty()) return Gone();
    auto body = mime::BodyTextOf(whole->front().whole, core_.options.get());
    if (!body) return body;
    body_ = std::move(body.value());
  }
  return *body_;
}

StoreResult<QString> ImapItem::Text(ItemText which) const {
  if (which == ItemText::Body) return Body();
  auto texts = Texts();
  if (!texts) return texts.failure();
  const mime::HeaderTexts& t = *texts.value();
  switch (which) {
    case ItemText::Subject:
      return t.subject;
    case ItemText::SenderName:
      return t.senderName;
    case ItemText::To:
      return t.to;
    case ItemText::CC:
      return t.cc;
    case ItemText::BCC:
      return t.bcc;
    case ItemText::Body:
      break;
  }
  return QString();
}

StoreResult<QDateTime> ImapItem::ReceivedTime() const {
  if (!message_.received) {
    return StoreFailure{FailureKind::Message,
                        //: %1 is the message's id
                        Text::tr("the received time of %1 cannot be read").arg(EntryId())};
  }
  return QDateTime::fromMSecsSinceEpoch(*message_.received);
}

// A text not read ahead comes through the run's own session, and a message
// without a received time is named by its mark: both need the store.
bool ImapItem::ReadableAside() const {
  return message_.received && readAhead_ && readAhead_->Arrived(message_.uid);
}

StoreResult<QDateTime> ImapItem::SentOn() const {
  if (auto date = mime::FirstHeaderValue(message_.header, "Date")) {
    if (auto msecs = mime::ParseMailDate(*date)) return QDateTime::fromMSecsSinceEpoch(*msecs);
  }
  return ReceivedTime();
}

StoreResult<std::optional<KelvoStateDb::Mark>> ImapItem::StoredMark() const {
  auto identity = Identified();
  if (!identity) return identity.failure();
  return identity.value()->mark;
}

StoreResult<std::optional<QDateTime>> ImapItem::KelvoSent() const {
  if (pendingKelvoSent_) return pendingKelvoSent_;
  auto stored = StoredMark();
  if (!stored) return stored.failure();
  if (!stored.value()) return std::optional<QDateTime>();
  return std::optional<QDateTime>(stored.value()->sent);
}

StoreResult<std::optional<SentParts>> ImapItem::KelvoParts() const {
  if (pendingKelvoSent_) return pendingParts_;
  auto stored = StoredMark();
  if (!stored) return stored.failure();
  if (!stored.value()) return std::optional<SentParts>();
  return stored.value()->parts;
}

StoreStatus ImapItem::Save() {
  if (!pendingKelvoSent_) return Done{};
  auto identity = Identified();
  if (!identity) return identity.failure();
  // The subject goes with the mark, to name the message once it is gone.
  const StoreResult<QString> subject = Text(ItemText::Subject);
  const KelvoStateDb::Mark mark{*pendingKelvoSent_, pendingParts_,
                                subject ? subject.value() : QString()};
  core_.state.PutInBackground(identity.value()->entryId, mark, copyKey_);
  identity_->mark = mark;
  pendingKelvoSent_.reset();
  pendingParts_.reset();
  return Done{};
}

StoreStatus ImapItem::Delete() {
  auto trash = core_.MailboxToFile(DefaultFolder::Trash);
  if (!trash) return trash.failure();
  if (trash.value() == mailbox_) return Done{};
  if (auto there = CheckStillThere(Access::ReadWrite); !there) return there;
  auto live = core_.Live();
  if (!live) return live.failure();
  const QByteArray target = trash.value().toUtf8();
  const bool move = live.value()->Has("MOVE");
  // Copied and then left, it would gain one more copy in Trash at every run.
  if (!move && !live.value()->Has("UIDPLUS")) return NoUidExpunge();
  // A copy whose answer was lost may have been made: after the reconnection
  // it is looked for in Trash by its Message-ID before copying again, so
  // that Trash does not gain the message twice. A move made twice moves
  // nothing the second time.
  bool again = false;
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); %1 is the Trash folder
  const QString moving = Text::tr("move a message to %1");
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); %1 is the Trash folder
  const QString copying = Text::tr("copy a message to %1");
  auto done = core_.Run(
      FailureKind::Store, (move ? moving : copying).arg(trash.value()), [&](mailimap* imap) {
        if (move) return mailimap_uid_move(imap, SingleUid(message_.uid).get(), target.constData());
        if (std::exchange(again, true) && !messageId_.isEmpty()) {
          uint32_t copied = 0;
          const int code = FindCopy(imap, mailbox_, trash.value(), messageId_, copied);
          if (code != MAILIMAP_NO_ERROR) core_.ForgetSelection();
          if (code != MAILIMAP_NO_ERROR || copied != 0) return code;
        }
        return mailimap_uid_copy(imap, SingleUid(message_.uid).get(), target.constData());
      });
  if (!done || move) return done;
  return ExpungeOne(core_, message_.uid);
}

StoreResult<uint32_t> ImapNewItem::UidOfAppended(const QString& drafts, uint32_t appendedUid,
                                                 const QByteArray& messageId) {
  auto validity = core_.Select(drafts, Access::ReadOnly);
  if (!validity) return validity.failure();
  uidValidity_ = validity.value();
  if (appendedUid != 0) return appendedUid;
  // Without APPENDUID, the message is found by its Message-ID.
  uint32_t uid = 0;
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open and of “cannot %1”; %1 is the Drafts folder
  const QString what = Text::tr("find the message just filed in %1").arg(drafts);
  auto found = core_.Run(FailureKind::Store, what,
                         [&](mailimap* imap) { return FindByMessageId(imap, messageId, uid); });
  if (!found) return found.failure();
  //: %1 is “find the message just filed in …”
  if (uid == 0) return StoreFailure{FailureKind::Store, Text::tr("cannot %1").arg(what)};
  return uid;
}

StoreStatus ImapNewItem::Save() {
  if (!entryId_.isEmpty()) {
    if (!pendingKelvoSent_) return Done{};
    auto saved = core_.state.Put(entryId_, {*pendingKelvoSent_, std::nullopt, subject_, true});
    if (saved) pendingKelvoSent_.reset();
    return saved;
  }
  auto drafts = core_.MailboxToFile(DefaultFolder::Drafts);
  if (!drafts) return drafts.failure();
  // Selected first, so that after a lost connection the message can be
  // looked for there before it is filed again.
  if (auto selected = core_.Select(drafts.value(), Access::ReadOnly); !selected) {
    return selected.failure();
  }

  const QDateTime now = core_.clock.Now();
  const QString local =
      QStringLiteral("zandor.%1.%2")
          .arg(now.toSecsSinceEpoch())
          .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
  const QByteArray bytes =
      WithCrLf(mime::ComposeMessage({subject_, body_, recipients_, now, local}));
  FlagListPtr flags(mailimap_flag_list_new_empty());
  mailimap_flag_list_add(flags.get(), mailimap_flag_new_draft());
  DateTimePtr received = ImapTime(now);
  const QByteArray messageId = QStringLiteral("<%1@kelvo.localhost>").arg(local).toUtf8();
  const QByteArray mailbox = drafts.value().toUtf8();
  uint32_t validity = 0;
  uint32_t uid = 0;
  int tries = 0;
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open; %1 is the Drafts folder
  auto filed = core_.Run(FailureKind::Store, Text::tr("file a message in %1").arg(drafts.value()),
                         [&](mailimap* imap) {
                           // Sent once and the answer lost: the server may hold it already.
                           if (tries++ > 0) {
                             const int code = FindByMessageId(imap, messageId, uid);
                             if (code != MAILIMAP_NO_ERROR || uid != 0) return code;
                           }
                           return mailimap_uidplus_append(imap, mailbox.constData(), flags.get(),
                                                          received.get(), bytes.constData(),
                                                          static_cast<size_t>(bytes.size()),
                                                          &validity, &uid);
                         });
  if (!filed) return filed;
  drafts_ = drafts.value();
  // APPENDUID is taken only from a server that announces it; else the
  // message is found by its Message-ID. The session may be a new one by now.
  auto session = core_.Live();
  if (!session) return session.failure();
  auto found = UidOfAppended(drafts_, session.value()->Has("UIDPLUS") ? uid : 0, messageId);
  if (!found) return found.failure();
  uid_ = found.value();
  entryId_ = EntryIdOf(drafts_, uidValidity_, uid_);
  if (pendingKelvoSent_) {
    if (auto saved = core_.state.Put(entryId_, {*pendingKelvoSent_, std::nullopt, subject_, true});
        !saved) {
      Withdraw();
      return saved;
    }
  }
  pendingKelvoSent_.reset();
  return Done{};
}

StoreStatus ImapNewItem::Withdraw() {
  if (entryId_.isEmpty()) return Done{};
  auto validity = core_.Select(drafts_, Access::ReadWrite);
  if (!validity) return validity.failure();
  if (validity.value() == uidValidity_) {
    if (auto removed = ExpungeOne(core_, uid_); !removed) return removed;
  }
  if (auto removed = core_.state.Remove(entryId_); !removed) return removed;
  entryId_.clear();
  return Done{};
}

}  // namespace zandor::imap
