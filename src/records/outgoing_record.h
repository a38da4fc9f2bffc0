#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

#include "records/conversion.h"

namespace zandor {

// What the record builder reads of one stored message. The folder scan fills
// it from the store; nullopt stands for a property the message does not have
// or cannot give.
struct OutgoingMessage {
  std::optional<QString> subject, senderName, to, cc, bcc, body;
  std::optional<QDateTime> receivedTime, sentOn;
};

// The records of one message, each without the FieldEnd that the send
// exchange adds. The flags tell the caller which counters to raise; a skipped
// message may also be truncated or split, when the skip came after that
// decision.
struct OutgoingRecords {
  // Why a message cannot go at all.
  enum class Skip {
    None,
    Lacking,  // a property the record needs is missing
    NoRoom,   // the fields but the body fill a record by themselves
    NoParts,  // too long for one record, and the parts limit allows none
  };
  std::vector<QByteArray> parts;  // one when whole or cut, one per part when split,
                                  // a single empty one when skipped
  bool truncated = false;         // raise TruncatedCount
  bool split = false;             // raise SplitCount
  bool skipped = false;           // raise SkippedCount; a skipped message is neither cut nor split
  Skip why = Skip::None;
  // When the parts hold less than the message (cut, or split into fewer parts
  // than it needs): the bytes of its record whole, and of what of it goes
  // (the fields once, the body as far as it goes); 0 otherwise.
  qsizetype wholeLength = 0;
  qsizetype keptLength = 0;
};

// What becomes of a message too long for one record. With none chosen the
// message is split, as with Split.
enum class LongMessages { NotChosen, Truncate, Split, SplitAtMost };

// The options a record is built with, read from the live options when the
// message is built.
struct RecordOptions {
  ConversionMode mode = ConversionMode::Western;
  LongMessages longMessages = LongMessages::Truncate;
  qsizetype partsTextLength = 1;  // the parts box's text length: truncation leaves room for it
  std::optional<int> partLimit;   // its whole number; nullopt when it does not fit in 16 bits

  bool operator==(const RecordOptions&) const = default;
};

// The longest record the Kelvo takes whole, in bytes; one byte more is over-long.
inline constexpr qsizetype kLongestWholeRecord = 2791;

// Builds the record or records of one message: subject, sender, to, body, date
// (ReceivedTime in the Inbox tree, folderKind 1, else SentOn), folderName, cc,
// bcc, each encoded to the host code page and converted in the options' mode, joined by
// fieldSeparator (never converted). Every length is a byte count. A record over kLongestWholeRecord
// is cut or split by the long-message option, read at this call:
//  - Truncate: the body keeps kLongestWholeRecord - header - (length of the
//    parts text + 1) bytes; a negative room skips the message;
//  - Split: each part carries the subject behind its label "k>" and one slice
//    of kLongestWholeRecord - header bytes of the body; "Split no more then"
//    sends at most the part limit of the parts text (the slices beyond it are
//    dropped) and skips the message when that limit is below 1.
// A missing property or date, or a part limit beyond 16 bits also skips the
// message; a message of any length is otherwise cut or split.
OutgoingRecords BuildOutgoingRecords(const OutgoingMessage& message, const QString& folderName,
                                     int folderKind, const RecordOptions& options,
                                     unsigned char fieldSeparator, const ConversionTables& tables,
                                     const QLocale& locale);

// The date field, "dd-mmm-yyyy h:mm:ss" of the local time of `when`: two-digit
// day, the locale's abbreviated month name, four-digit year, the 24-hour hour
// without a leading zero, two-digit minutes and seconds, with the locale's
// time separator in place of ':'. Digits are ASCII in every locale.
QString FormatRecordDate(const QDateTime& when, const QLocale& locale);

// The locale of the date field the program sends: the same for every user,
// so that the Kelvo hears the same bytes whatever the desktop's language (a
// Cyrillic month name would not even pass the Western conversion).
inline QLocale RecordDateLocale() { return QLocale::c(); }

}  // namespace zandor
