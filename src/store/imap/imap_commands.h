#pragma once

// Single IMAP commands on a session, and what they read. Each sends what it
// says on the session it is given and returns libetpan's code; none
// reconnects or tells a failure in words. The run's session sends them
// through Core::Run, the helpers that read ahead directly. Private to the
// store.

#include <libetpan/libetpan.h>

#include <QByteArray>
#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace zandor::imap {

struct Mailbox {
  QString name;  // as the server spells it (modified UTF-7)
  QChar delimiter;
  QStringList attributes;  // without the backslash: "Sent", "Noselect", "HasChildren"
  bool Is(const char* attribute) const;
};

// One message as a fetch gave it; what was not asked for is empty.
struct Fetched {
  uint32_t uid = 0;
  std::optional<qint64> received;  // INTERNALDATE, msecs since the epoch
  qint64 size = 0;                 // RFC822.SIZE, with the header
  QByteArray header;
  QByteArray whole;
};

// Whole messages as a fetch gave them; nullopt when they could not be fetched.
using Wholes = std::optional<std::vector<Fetched>>;

enum class Access { ReadOnly, ReadWrite };

// What a UID FETCH brings besides the UID: INTERNALDATE alone, the header
// with the size and INTERNALDATE, or the whole message; always by BODY.PEEK,
// so no flag changes. HeaderUndated leaves INTERNALDATE out, for a server
// that sends one the library cannot read.
enum class Part { None, Header, HeaderUndated, Whole };

// A mailbox's messages as a listing gave them. A small mailbox is listed
// whole (its headers cost less than a search's round trip); a large one from
// two days before the day asked for, since SEARCH SINCE reads INTERNALDATE in
// the server's time zone. The caller refines to the local day.
struct Listing {
  uint32_t uidValidity = 0;
  uint32_t exists = 0;
  std::optional<QDate> since;  // what the entries cover: nullopt for all
  std::vector<Fetched> entries;
};

// A message's entry id: "<UIDVALIDITY>:<UID>:<mailbox>".
QString EntryIdOf(const QString& mailbox, uint32_t uidValidity, uint32_t uid);

// Whether the name can go into a command: a line break in it would end the
// command there and send the rest as commands of their own.
bool Sendable(const QString& mailbox);
// The name as it may be printed, its line breaks shown as \r and \n.
QString Printable(const QString& mailbox);

// A message without an INTERNALDATE (or one naming no real day) is dated by
// its own Date header, when its header was fetched.
void DateByHeader(Fetched& message);

// LIST of every mailbox of the account, into boxes.
int ListMailboxesOn(mailimap* imap, std::vector<Mailbox>& boxes);
// EXAMINE, or SELECT for writing; MAILIMAP_ERROR_INVAL, sending nothing,
// for a name that is not Sendable.
int ExamineOn(mailimap* imap, const QString& mailbox, Access access);
// UID FETCH of the UIDs (all when empty): UID, INTERNALDATE and the part,
// added to messages.
int FetchOn(mailimap* imap, const std::vector<uint32_t>& uids, Part part,
            std::vector<Fetched>& messages);
// Lists the selected mailbox (exists and UIDVALIDITY as its selection gave
// them) for the day: UID SEARCH SINCE when it is large, then the headers.
int ListOn(mailimap* imap, std::optional<QDate> since, Listing& listing, Part part = Part::Header);

// Looks before sending again. A command whose connection was lost before its
// answer came may have taken effect all the same; these look, by the
// message's Message-ID, whether it did, so that it is not done twice.
//
// The UID of the message with the Message-ID in the selected mailbox into
// uid, 0 when there is none: whether an APPEND to it took effect (and where a
// draft went without APPENDUID).
int FindByMessageId(mailimap* imap, const QByteArray& messageId, uint32_t& uid);
// Whether a COPY from `source` to `target` took effect: examines the target,
// looks for the Message-ID there (its UID into copied, 0 when none) and
// selects the source again for writing.
int FindCopy(mailimap* imap, const QString& source, const QString& target,
             const QByteArray& messageId, uint32_t& copied);

}  // namespace zandor::imap
