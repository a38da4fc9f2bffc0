#pragma once

#include <QString>

#include "settings/options.h"
#include "settings/settings_store.h"

namespace zandor {

// The option values the window would hold after its load step, read from the
// store: the options dialog's Load (conversion buttons, split mode, parts
// text, port paths) and the main window's first-run step (port and range,
// which writes the defaults on a first start). The removal boxes and the
// full-sync box start cleared, as at every program start.
OptionValues LoadStoredOptions(SettingsStore& settings);

// The mail folder: section Store, key Maildir, default ~/Maildir; a leading
// "~" stands for the home folder.
QString StoredMailFolder(const SettingsStore& settings);

// A number as the parts box shows it: whole numbers without a decimal point,
// others with up to 15 significant digits.
QString NumberAsPartsText(double value);

}  // namespace zandor
