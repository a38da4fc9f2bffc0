#pragma once

#include <QSet>
#include <QString>
#include <functional>

#include "records/conversion.h"
#include "records/outgoing_record.h"

namespace zandor {

// How far back the mail to send goes, counted from today. With none chosen
// the range reaches as far back as All's search does, but counts like the
// shorter ranges.
enum class DateRange { NotChosen, LastDay, Last7Days, Last30Days, Last90Days, All };

// The options one synchronisation runs with, as one plain value. The window
// gives what its controls show at the moment of the read, so a change made in
// the open Options dialog takes effect at the next read; the headless run
// gives the stored options and its command line.
struct SyncOptions {
  int port = 1;      // "Com 1".."Com 4" as 1..4; 0 when none is chosen
  QString portPath;  // the device behind the port
  DateRange range = DateRange::Last7Days;
  ConversionMode mode = ConversionMode::Western;
  LongMessages longMessages = LongMessages::Truncate;
  // The parts box as typed: its number limits SplitAtMost, and a cut message
  // leaves room for its length.
  QString parts = QStringLiteral("0");
  bool removeFromKelvo = false;   // remove on the Kelvo what is no longer selected
  bool removeFromMail = false;    // remove from the mail what the Kelvo no longer holds
  bool fullSync = false;          // send again what was sent before
  QSet<QString> excludedFolders;  // entry ids of the folders left out

  bool operator==(const SyncOptions&) const = default;
};

// Reads the options now. Reads never block and never fail.
using LiveOptions = std::function<SyncOptions()>;

// The day offset of a range: -1, -7, -30, -90, and -10000 for All and for none.
int DateRangeOffsetDays(DateRange range);

// What the record builder needs of the options: the mode, the long-message
// option and the part limit the parts text gives.
RecordOptions RecordOptionsOf(const SyncOptions& options);

}  // namespace zandor
