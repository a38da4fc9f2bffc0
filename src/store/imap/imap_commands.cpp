#include "store/imap/imap_commands.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cstring>

#include "store/imap/etpan_ptr.h"
#include "store/mime/message_reader.h"

namespace zandor::imap {
namespace {

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
  if (part == Part::None || part == Part::Header) {
    mailimap_fetch_type_new_fetch_att_list_add(type.get(), mailimap_fetch_att_new_internaldate());
  }
  const bool header = part == Part::Header || part == Part::HeaderUndated;
  if (header) {
    mailimap_fetch_type_new_fetch_att_list_add(type.get(), mailimap_fetch_att_new_rfc822_size());
  }
  if (part != Part::None) {
    mailimap_section* section =
        header ? mailimap_section_new_header() : mailimap_section_new(nullptr);
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

bool Sendable(const QString& mailbox) {
  return !mailbox.contains(QLatin1Char('\r')) && !mailbox.contains(QLatin1Char('\n'));
}

QString Printable(const QString& mailbox) {
  QString text = mailbox;
  return text.replace(QLatin1Char('\r'), QStringLiteral("\\r"))
      .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

int ListMailboxesOn(mailimap* imap, std::vector<Mailbox>& boxes) {
  clist* raw = nullptr;
  const int code = mailimap_list(imap, "", "*", &raw);
  ListResultPtr listed(raw);
  if (code != MAILIMAP_NO_ERROR) return code;
  ForEach<mailimap_mailbox_list>(
      listed.get(), [&](const mailimap_mailbox_list& entry) { boxes.push_back(MailboxOf(entry)); });
  return code;
}

int ExamineOn(mailimap* imap, const QString& mailbox, Access access) {
  if (!Sendable(mailbox)) return MAILIMAP_ERROR_INVAL;
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
    DateByHeader(into);
    if (into.uid != 0) messages.push_back(std::move(into));
  });
  return code;
}

void DateByHeader(Fetched& message) {
  if (message.received || message.header.isEmpty()) return;
  if (const auto date = mime::FirstHeaderValue(message.header, "Date"))
    message.received = mime::ParseMailDate(*date);
}

int ListOn(mailimap* imap, std::optional<QDate> since, Listing& listing, Part part) {
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
  return FetchOn(imap, uids, part, listing.entries);
}

int FindByMessageId(mailimap* imap, const QByteArray& messageId, uint32_t& uid) {
  SearchKeyPtr key(
      mailimap_search_key_new_header(strdup("Message-ID"), strdup(messageId.constData())));
  clist* raw = nullptr;
  const int code = mailimap_uid_search(imap, nullptr, key.get(), &raw);
  SearchResultPtr found(raw);
  clistiter* last = code == MAILIMAP_NO_ERROR && found ? clist_end(found.get()) : nullptr;
  uid = last != nullptr ? *static_cast<const uint32_t*>(clist_content(last)) : 0;
  return code;
}

int FindCopy(mailimap* imap, const QString& source, const QString& target,
             const QByteArray& messageId, uint32_t& copied) {
  copied = 0;
  int code = ExamineOn(imap, target, Access::ReadOnly);
  if (code == MAILIMAP_NO_ERROR) code = FindByMessageId(imap, messageId, copied);
  if (code == MAILIMAP_NO_ERROR) code = ExamineOn(imap, source, Access::ReadWrite);
  return code;
}

}  // namespace zandor::imap
