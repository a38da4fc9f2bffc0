#include "settings/options.h"

#include "settings/lenient_number.h"

namespace zandor {

ConversionMode ModeOf(const Options& options) {
  if (options.RusConv()) return ConversionMode::RussianOstrel;
  if (options.DravoConv()) return ConversionMode::RussianDravo;
  return ConversionMode::Western;
}

RecordOptions RecordOptionsOf(const Options& options) {
  const QString partsText = options.PartsText();
  return RecordOptions{ModeOf(options), options.SplitModeIndex(), partsText.size(),
                       ReadPartLimit(partsText)};
}

}  // namespace zandor
