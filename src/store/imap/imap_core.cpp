#include "store/imap/imap_core.h"

#include <QCoreApplication>
#include <map>

#include "store/mime/message_reader.h"

namespace zandor::imap {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(ImapCore)
};

bool Succeeded(int code) {
  return code == MAILIMAP_NO_ERROR;
}

// The connection closed, or closed in the middle of an answer (which the
// library reads as an answer it cannot parse).
bool Lost(int code) {
  return code == MAILIMAP_ERROR_STREAM || code == MAILIMAP_ERROR_PARSE;
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

}  // namespace

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
  const bool gone = session_ && session_->Lost(code);
  if (code == MAILIMAP_ERROR_STREAM || gone) failure.kind = FailureKind::Gone;
  if (Lost(code) || gone) {
    lostBecause_ = failure.reason;
    Drop();
  }
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
  if ((Lost(code) || live.value()->Lost(code)) && !reconnecting_) {
    const QString mailbox = selected_;
    const Access access = selectedAccess_;
    const uint32_t validity =
        imap->imap_selection_info != nullptr ? imap->imap_selection_info->sel_uidvalidity : 0;
    const StoreFailure lost = Failure(FailureKind::Gone, what, code);
    if (StoreStatus back = Reconnect(mailbox, access, validity); !back) {
      // A refused password and a renumbered folder keep their kinds.
      FailureKind gone = back.kind();
      if (gone != FailureKind::Refused && gone != FailureKind::Folder) gone = FailureKind::Gone;
      // A connection not had again already says why the last one went.
      if (back.reason().startsWith(lost.reason)) return StoreFailure{gone, back.reason()};
      //: Between why the connection was lost and why connecting again failed
      return StoreFailure{gone, lost.reason + Text::tr("; connecting again: ") + back.reason()};
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
                       //: %1 is a folder on the server, whose message numbers (UIDVALIDITY) changed
                       Text::tr("the folder %1 was renumbered by the server").arg(mailbox)};
    }
  }
  reconnecting_ = false;
  return back;
}

StoreResult<Session*> Core::Live() {
  if (session_ && session_->get()->imap_stream != nullptr) return session_.get();
  selected_.clear();
  auto opened = Session::Open(account);
  if (!opened) {
    if (lostBecause_.isEmpty()) return opened.failure();
    // Why the last connection went is what the user needs first.
    StoreFailure failure = opened.failure();
    //: Between why the connection was lost and why connecting again failed
    failure.reason = lostBecause_ + Text::tr("; connecting again: ") + failure.reason +
                     Text::tr(
                         "; check that the server is running and reachable, then "
                         "synchronise again");
    return failure;
  }
  lostBecause_.clear();
  session_ = std::move(opened.value());
  if (loggedIn) loggedIn();
  return session_.get();
}

StoreResult<const MailboxList*> Core::Mailboxes() {
  if (mailboxes_) return &*mailboxes_;
  std::vector<Mailbox> boxes;
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open
  auto ran = Run(FailureKind::Store, Text::tr("list the folders"), [&](mailimap* imap) {
    boxes.clear();
    return ListMailboxesOn(imap, boxes);
  });
  if (!ran) return ran.failure();
  ForgetMailboxes();
  mailboxes_.emplace(std::move(boxes));
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
  if (const auto known = defaults_.find(which); known != defaults_.end()) return known->second;
  std::optional<QString>& found = defaults_[which];
  for (const Mailbox& box : boxes.value()->All()) {
    if (box.Is(place->attribute) && Sendable(box.name)) return found = box.name;
  }
  for (const char* name : place->names) {
    for (const Mailbox& box : boxes.value()->All()) {
      if (box.name.compare(QString::fromLatin1(name), Qt::CaseInsensitive) == 0) {
        return found = box.name;
      }
    }
  }
  return found;
}

StoreResult<QString> Core::MailboxToFile(DefaultFolder which) {
  auto found = DefaultMailbox(which);
  if (!found) return found.failure();
  if (found.value()) return *found.value();
  const std::optional<DefaultPlace> place = PlaceOf(which);
  //: The server has no default folder of this kind
  if (!place) return StoreFailure{FailureKind::Store, Text::tr("no such folder")};
  const QString name = QString::fromLatin1(place->names.front());
  const QByteArray bytes = name.toUtf8();
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open; %1 is a folder
  auto made = Run(FailureKind::Store, Text::tr("create the folder %1").arg(name),
                  [&](mailimap* imap) { return mailimap_create(imap, bytes.constData()); });
  if (!made) return made.failure();
  ForgetMailboxes();
  return name;
}

StoreResult<uint32_t> Core::Select(const QString& mailbox, Access access) {
  auto live = Live();
  if (!live) return live.failure();
  if (!Sendable(mailbox)) {
    return StoreFailure{FailureKind::Folder,
                        //: %1 is the folder's name, line breaks shown as \r and \n
                        Text::tr("the folder name \"%1\" holds a line break, which no "
                                 "command to the server can carry: rename the folder on "
                                 "the server")
                            .arg(Printable(mailbox))};
  }
  const bool enough = access == Access::ReadOnly || selectedAccess_ == Access::ReadWrite;
  if (selected_ != mailbox || !enough || live.value()->get()->imap_selection_info == nullptr) {
    selected_.clear();
    //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
    //: open; %1 is a folder
    auto opened = Run(FailureKind::Folder, Text::tr("open the folder %1").arg(mailbox),
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
  const QString mailbox = selected_;
  const Access access = selectedAccess_;
  Listing listing;
  int code = MAILIMAP_NO_ERROR;
  //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection was
  //: open; %1 is a folder
  const QString what = Text::tr("read the messages of %1").arg(mailbox);
  auto ran = Run(FailureKind::Folder, what, [&](mailimap* imap) {
    listing = Listing{};
    return code = ListOn(imap, since, listing);
  });
  if (ran) return listing;
  // An answer that cannot be read even on a fresh connection is the
  // server's: most often one message's INTERNALDATE. The folder is listed
  // without the dates, which are then asked for in halves, so that only the
  // messages whose date cannot be read go without it.
  if (code != MAILIMAP_ERROR_PARSE || mailbox.isEmpty() || ran.kind() == FailureKind::Gone)
    return ran.failure();
  auto validity = Select(mailbox, access);
  if (!validity) return validity.failure();
  ran = Run(FailureKind::Folder, what, [&](mailimap* imap) {
    listing = Listing{};
    return ListOn(imap, since, listing, Part::HeaderUndated);
  });
  if (!ran) return ran.failure();
  Date(mailbox, access, listing.uidValidity, listing.entries);
  return listing;
}

void Core::Date(const QString& mailbox, Access access, uint32_t uidValidity,
                std::span<Fetched> entries) {
  if (entries.empty()) return;
  auto validity = Select(mailbox, access);
  if (!validity || validity.value() != uidValidity) return;
  std::vector<uint32_t> uids;
  for (const Fetched& entry : entries) uids.push_back(entry.uid);
  std::vector<Fetched> dates;
  int code = MAILIMAP_NO_ERROR;
  auto ran =
      //: Completes “cannot %1 on %2: %3” (%2 the server, %3 why); shown alone when no connection
      //: was open; %1 is a folder, the dates those of its messages
      Run(FailureKind::Folder, Text::tr("read the dates of %1").arg(mailbox), [&](mailimap* imap) {
        dates.clear();
        code = FetchOn(imap, uids, Part::None, dates);
        return code;
      });
  if (ran && code == MAILIMAP_NO_ERROR) {
    std::map<uint32_t, std::optional<qint64>> received;
    for (const Fetched& date : dates) received[date.uid] = date.received;
    for (Fetched& entry : entries) entry.received = received[entry.uid];
  } else if (code == MAILIMAP_ERROR_PARSE && entries.size() > 1) {
    const size_t half = entries.size() / 2;
    Date(mailbox, access, uidValidity, entries.first(half));
    Date(mailbox, access, uidValidity, entries.subspan(half));
    return;
  }
  // Left undated: the message tells when it was written.
  for (Fetched& entry : entries) DateByHeader(entry);
}

StoreResult<std::vector<Fetched>> Core::Fetch(const std::vector<uint32_t>& uids, Part part) {
  std::vector<Fetched> messages;
  auto ran = Run(FailureKind::Folder, Text::tr("read the messages of %1").arg(selected_),
                 [&](mailimap* imap) {
                   messages.clear();
                   return FetchOn(imap, uids, part, messages);
                 });
  if (!ran) return ran.failure();
  return messages;
}

}  // namespace zandor::imap
