#include "store/imap/imap_core.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>

#include "store/imap/etpan_ptr.h"
#include "store/imap/imap_lookahead.h"
#include "store/mime/message_reader.h"

namespace zandor::imap {
namespace {

bool Succeeded(int code) {
  return code == MAILIMAP_NO_ERROR;
}

// The connection closed, or closed in the middle of an answer (which the
// library reads as an answer it cannot parse).
bool Lost(int code) {
  return code == MAILIMAP_ERROR_STREAM || code == MAILIMAP_ERROR_PARSE;
}

template <class T, class Visit>
void ForEach(clist* list, Visit visit) {
  if (list == nullptr) return;
  for (clistiter* it = clist_begin(list); it != nullptr; it = clist_next(it)) {
    visit(*static_cast<T*>(clist_content(it)));
  }
}

QStringList AttributesOf(const mailimap_mbx_list_flags* flags) {
  QStringList attributes;
  if (flags == nullptr) return attributes;
  if (flags->mbf_type == MAILIMAP_MBX_LIST_FLAGS_SFLAG) {
    if (flags->mbf_sflag == MAILIMAP_MBX_LIST_SFLAG_NOSELECT)
      attributes << QStringLiteral("Noselect");
  }
  ForEach<mailimap_mbx_list_oflag>(flags->mbf_oflags, [&](const mailimap_mbx_list_oflag& flag) {
    if (flag.of_type == MAILIMAP_MBX_LIST_OFLAG_NOINFERIORS) {
      attributes << QStringLiteral("Noinferiors");
    } else if (flag.of_type == MAILIMAP_MBX_LIST_OFLAG_FLAG_EXT && flag.of_flag_ext != nullptr) {
      attributes << QString::fromUtf8(flag.of_flag_ext);
    }
  });
  return attributes;
}

Mailbox MailboxOf(const mailimap_mailbox_list& entry) {
  QString name = QString::fromUtf8(entry.mb_name);
  // INBOX is the one name that is the same in any case.
  if (name.compare(QStringLiteral("INBOX"), Qt::CaseInsensitive) == 0)
    name = QStringLiteral("INBOX");
  return {name, QChar::fromLatin1(entry.mb_delimiter), AttributesOf(entry.mb_flag)};
}

// The SPECIAL-USE attribute of a default folder, and the names it goes by
// on servers without one.
struct DefaultPlace {
  const char* attribute;
  std::vector<const char*> names;
};
std::optional<DefaultPlace> PlaceOf(DefaultFolder which) {
  switch (which) {
    case DefaultFolder::SentItems:
      return DefaultPlace{"Sent", {"Sent", "Sent Items", "Sent Messages"}};
    case DefaultFolder::Drafts:
      return DefaultPlace{"Drafts", {"Drafts"}};
    case DefaultFolder::Trash:
      return DefaultPlace{"Trash", {"Trash", "Deleted Items", "Deleted Messages"}};
    case DefaultFolder::Inbox:
    case DefaultFolder::Outbox:
      break;
  }
  return std::nullopt;
}

std::optional<qint64> MsecsOf(const mailimap_date_time* time) {
  if (time == nullptr) return std::nullopt;
  const int sign = time->dt_zone < 0 ? -1 : 1;
  const int zone = sign * time->dt_zone;
  const QDateTime value(QDate(time->dt_year, time->dt_month, time->dt_day),
                        QTime(time->dt_hour, time->dt_min, time->dt_sec),
                        QTimeZone(sign * ((zone / 100) * 3600 + (zone % 100) * 60)));
  if (!value.isValid()) return std::nullopt;
  return value.toMSecsSinceEpoch();
}

void Take(const mailimap_msg_att_static& item, Fetched& into) {
  switch (item.att_type) {
    case MAILIMAP_MSG_ATT_UID:
      into.uid = item.att_data.att_uid;
      break;
    case MAILIMAP_MSG_ATT_INTERNALDATE:
      into.received = MsecsOf(item.att_data.att_internal_date);
      break;
    case MAILIMAP_MSG_ATT_RFC822_SIZE:
      into.size = item.att_data.att_rfc822_size;
      break;
    case MAILIMAP_MSG_ATT_BODY_SECTION: {
      const mailimap_msg_att_body_section* body = item.att_data.att_body_section;
      if (body == nullptr || body->sec_body_part == nullptr) break;
      QByteArray bytes(body->sec_body_part, static_cast<qsizetype>(body->sec_length));
      const bool header = body->sec_section != nullptr && body->sec_section->sec_spec != nullptr;
      (header ? into.header : into.whole) = std::move(bytes);
      break;
    }
    default:
      break;
  }
}

// The UIDs as a set of runs, so that a folder's command stays short.
SetPtr SetOf(std::vector<uint32_t> uids) {
  if (uids.empty()) return SetPtr(mailimap_set_new_interval(1, 0));
  std::sort(uids.begin(), uids.end());
  SetPtr set(mailimap_set_new_empty());
  for (size_t first = 0; first < uids.size();) {
    size_t last = first;
    while (last + 1 < uids.size() && uids[last + 1] <= uids[last] + 1) ++last;
    mailimap_set_add_interval(set.get(), uids[first], uids[last]);
    first = last + 1;
  }
  return set;
}

FetchTypePtr FetchTypeOf(Part part) {
  FetchTypePtr type(mailimap_fetch_type_new_fetch_att_list_empty());
  mailimap_fetch_type_new_fetch_att_list_add(type.get(), mailimap_fetch_att_new_uid());
  mailimap_fetch_type_new_fetch_att_list_add(type.get(), mailimap_fetch_att_new_internaldate());
  if (part == Part::Header) {
    mailimap_fetch_type_new_fetch_att_list_add(type.get(), mailimap_fetch_att_new_rfc822_size());
  }
  if (part != Part::None) {
    mailimap_section* section =
        part == Part::Header ? mailimap_section_new_header() : mailimap_section_new(nullptr);
    mailimap_fetch_type_new_fetch_att_list_add(type.get(),
                                               mailimap_fetch_att_new_body_peek_section(section));
  }
  return type;
}

}  // namespace

bool Mailbox::Is(const char* attribute) const {
  return attributes.contains(QString::fromLatin1(attribute), Qt::CaseInsensitive);
}

QString EntryIdOf(const QString& mailbox, uint32_t uidValidity, uint32_t uid) {
  return QStringLiteral("%1:%2:%3").arg(uidValidity).arg(uid).arg(mailbox);
}

Core::Core(Account imapAccount, const QString& statePath, QLocale storeLocale,
           const Clock& storeClock)
    : account(std::move(imapAccount)),
      locale(std::move(storeLocale)),
      clock(storeClock),
      options(mime::MakeParserOptions(locale)),
      state(statePath) {}

Core::~Core() = default;

bool Core::ListingIsFresh() const {
  constexpr std::chrono::seconds kMoments(2);
  return mailboxes_ && !listingRead_ && std::chrono::steady_clock::now() - listedAt_ < kMoments;
}

StoreFailure Core::Failure(FailureKind kind, const QString& what, int code) {
  StoreFailure failure = session_ ? session_->Failure(kind, what, code) : StoreFailure{kind, what};
  // A lost line is the whole store's failure, and the next use connects anew;
  // so it does after an answer cut short, which leaves the session unusable.
  if (code == MAILIMAP_ERROR_STREAM) failure.kind = FailureKind::Gone;
  if (Lost(code)) Drop();
  return failure;
}

void Core::Drop() {
  if (session_) session_->Close();
  session_.reset();
  selected_.clear();
}

StoreStatus Core::Run(FailureKind kind, const QString& what, const Command& command) {
  auto live = Live();
  if (!live) return live.failure();
  mailimap* imap = live.value()->get();
  int code = command(imap);
  if (Lost(code) && !reconnecting_) {
    const QString mailbox = selected_;
    const Access access = selectedAccess_;
    const uint32_t validity =
        imap->imap_selection_info != nullptr ? imap->imap_selection_info->sel_uidvalidity : 0;
    const StoreFailure lost = Failure(FailureKind::Gone, what, code);
    if (StoreStatus back = Reconnect(mailbox, access, validity); !back) {
      // A refused password and a renumbered folder keep their kinds.
      FailureKind gone = back.kind();
      if (gone != FailureKind::Refused && gone != FailureKind::Folder) gone = FailureKind::Gone;
      return StoreFailure{gone,
                          lost.reason + QStringLiteral("; connecting again: ") + back.reason()};
    }
    code = command(session_->get());
  }
  if (!Succeeded(code)) return Failure(kind, what, code);
  return Done{};
}

StoreStatus Core::Reconnect(const QString& mailbox, Access access, uint32_t uidValidity) {
  reconnecting_ = true;
  StoreStatus back = Done{};
  if (auto live = Live(); !live) {
    back = live.failure();
  } else if (!mailbox.isEmpty()) {
    auto again = Select(mailbox, access);
    if (!again) {
      back = again.failure();
    } else if (again.value() != uidValidity) {
      back =
          StoreFailure{FailureKind::Folder,
                       QStringLiteral("the folder %1 was renumbered by the server").arg(mailbox)};
    }
  }
  reconnecting_ = false;
  return back;
}

StoreResult<Session*> Core::Live() {
  if (session_ && session_->get()->imap_stream != nullptr) return session_.get();
  selected_.clear();
  auto opened = Session::Open(account);
  if (!opened) return opened.failure();
  session_ = std::move(opened.value());
  return session_.get();
}

StoreResult<const std::vector<Mailbox>*> Core::Mailboxes() {
  if (mailboxes_) return &*mailboxes_;
  ListResultPtr listed;
  auto ran = Run(FailureKind::Store, QStringLiteral("list the folders"), [&](mailimap* imap) {
    clist* raw = nullptr;
    const int code = mailimap_list(imap, "", "*", &raw);
    listed.reset(raw);
    return code;
  });
  if (!ran) return ran.failure();
  std::vector<Mailbox> boxes;
  ForEach<mailimap_mailbox_list>(
      listed.get(), [&](const mailimap_mailbox_list& entry) { boxes.push_back(MailboxOf(entry)); });
  mailboxes_ = std::move(boxes);
  listedAt_ = std::chrono::steady_clock::now();
  listingRead_ = false;
  return &*mailboxes_;
}

StoreResult<std::optional<QString>> Core::DefaultMailbox(DefaultFolder which) {
  if (which == DefaultFolder::Inbox) return std::optional(QStringLiteral("INBOX"));
  const std::optional<DefaultPlace> place = PlaceOf(which);
  if (!place) return std::optional<QString>();
  auto boxes = Mailboxes();
  if (!boxes) return boxes.failure();
  for (const Mailbox& box : *boxes.value()) {
    if (box.Is(place->attribute)) return std::optional(box.name);
  }
  for (const char* name : place->names) {
    for (const Mailbox& box : *boxes.value()) {
      if (box.name.compare(QString::fromLatin1(name), Qt::CaseInsensitive) == 0) {
        return std::optional(box.name);
      }
    }
  }
  return std::optional<QString>();
}

StoreResult<QString> Core::MailboxToFile(DefaultFolder which) {
  auto found = DefaultMailbox(which);
  if (!found) return found.failure();
  if (found.value()) return *found.value();
  const std::optional<DefaultPlace> place = PlaceOf(which);
  if (!place) return StoreFailure{FailureKind::Store, QStringLiteral("no such folder")};
  const QString name = QString::fromLatin1(place->names.front());
  const QByteArray bytes = name.toUtf8();
  auto made = Run(FailureKind::Store, QStringLiteral("create the folder %1").arg(name),
                  [&](mailimap* imap) { return mailimap_create(imap, bytes.constData()); });
  if (!made) return made.failure();
  mailboxes_.reset();
  return name;
}

StoreResult<uint32_t> Core::Select(const QString& mailbox, Access access) {
  auto live = Live();
  if (!live) return live.failure();
  const bool enough = access == Access::ReadOnly || selectedAccess_ == Access::ReadWrite;
  if (selected_ != mailbox || !enough || live.value()->get()->imap_selection_info == nullptr) {
    selected_.clear();
    auto opened = Run(FailureKind::Folder, QStringLiteral("open the folder %1").arg(mailbox),
                      [&](mailimap* imap) { return ExamineOn(imap, mailbox, access); });
    if (!opened) return opened.failure();
    selected_ = mailbox;
    selectedAccess_ = access;
  }
  return session_->get()->imap_selection_info->sel_uidvalidity;
}

uint32_t Core::Exists() const {
  if (!session_ || session_->get()->imap_selection_info == nullptr) return 0;
  return session_->get()->imap_selection_info->sel_exists;
}

StoreResult<Listing> Core::List(std::optional<QDate> since) {
  Listing listing;
  auto ran = Run(FailureKind::Folder, QStringLiteral("read the messages of %1").arg(selected_),
                 [&](mailimap* imap) {
                   listing = Listing{};
                   return ListOn(imap, since, listing);
                 });
  if (!ran) return ran.failure();
  return listing;
}

StoreResult<std::vector<Fetched>> Core::Fetch(const std::vector<uint32_t>& uids, Part part) {
  std::vector<Fetched> messages;
  auto ran = Run(FailureKind::Folder, QStringLiteral("read the messages of %1").arg(selected_),
                 [&](mailimap* imap) {
                   messages.clear();
                   return FetchOn(imap, uids, part, messages);
                 });
  if (!ran) return ran.failure();
  return messages;
}

int ExamineOn(mailimap* imap, const QString& mailbox, Access access) {
  const QByteArray name = mailbox.toUtf8();
  return access == Access::ReadOnly ? mailimap_examine(imap, name.constData())
                                    : mailimap_select(imap, name.constData());
}

int FetchOn(mailimap* imap, const std::vector<uint32_t>& uids, Part part,
            std::vector<Fetched>& messages) {
  SetPtr set = SetOf(uids);
  FetchTypePtr type = FetchTypeOf(part);
  clist* raw = nullptr;
  const int code = mailimap_uid_fetch(imap, set.get(), type.get(), &raw);
  FetchListPtr fetched(raw);
  if (code != MAILIMAP_NO_ERROR) return code;
  ForEach<mailimap_msg_att>(fetched.get(), [&](const mailimap_msg_att& message) {
    Fetched into;
    ForEach<mailimap_msg_att_item>(message.att_list, [&](const mailimap_msg_att_item& item) {
      if (item.att_type == MAILIMAP_MSG_ATT_ITEM_STATIC && item.att_data.att_static != nullptr) {
        Take(*item.att_data.att_static, into);
      }
    });
    if (into.uid != 0) messages.push_back(std::move(into));
  });
  return code;
}

int ListOn(mailimap* imap, std::optional<QDate> since, Listing& listing) {
  constexpr uint32_t kListedWhole = 500;
  const mailimap_selection_info* info = imap->imap_selection_info;
  if (info == nullptr) return MAILIMAP_ERROR_BAD_STATE;
  listing.uidValidity = info->sel_uidvalidity;
  listing.exists = info->sel_exists;
  listing.since = listing.exists <= kListedWhole ? std::nullopt : since;
  if (listing.exists == 0) return MAILIMAP_NO_ERROR;
  std::vector<uint32_t> uids;
  if (listing.since) {
    const QDate day = listing.since->addDays(-2);
    SearchKeyPtr key(
        mailimap_search_key_new_since(mailimap_date_new(day.day(), day.month(), day.year())));
    clist* raw = nullptr;
    const int code = mailimap_uid_search(imap, nullptr, key.get(), &raw);
    SearchResultPtr found(raw);
    if (code != MAILIMAP_NO_ERROR) return code;
    ForEach<uint32_t>(found.get(), [&](uint32_t uid) { uids.push_back(uid); });
    if (uids.empty()) return MAILIMAP_NO_ERROR;
  }
  return FetchOn(imap, uids, Part::Header, listing.entries);
}

}  // namespace zandor::imap
