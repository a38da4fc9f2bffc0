#include "settings/sync_options.h"

#include "settings/lenient_number.h"

namespace zandor {

int DateRangeOffsetDays(DateRange range) {
  switch (range) {
    case DateRange::LastDay:
      return -1;
    case DateRange::Last7Days:
      return -7;
    case DateRange::Last30Days:
      return -30;
    case DateRange::Last90Days:
      return -90;
    case DateRange::NotChosen:
    case DateRange::All:
      break;
  }
  return -10000;
}

RecordOptions RecordOptionsOf(const SyncOptions& options) {
  return RecordOptions{options.mode, options.longMessages, options.parts.size(),
                       ReadPartLimit(options.parts)};
}

}  // namespace zandor
