#pragma once

#include <QString>

#include "settings/first_run.h"
#include "settings/options.h"
#include "settings/settings_store.h"

namespace zandor {

// The sections the options dialog's OK writes and the restore reads.
inline const QString kSymbolsSection = QStringLiteral("SymbolsConversion");
inline const QString kSplitSection = QStringLiteral("Split");

// The options as the settings store gives them, restored the one way that the
// window's load, the options dialog's Load and Cancel, and the headless run
// share: the port and range lists, the three conversion buttons (restored in
// the order Russian, Dravo, Western, the last selected one winning), the
// long-message list, the parts text and the device behind the port. The
// removal boxes and the full-sync box are never stored: they come back cleared.
OptionValues RestoreStoredOptions(const SettingsStore& settings);

// The port and range lists alone, as the window's load and Cancel select them.
RestoredPortAndRange StoredPortAndRange(const SettingsStore& settings);

// A list position from a stored number: the number rounded to the nearest
// whole one (halves to even), minus 1; -1 leaves no selection; anything
// outside -1..count-1 (only a hand-edited store holds such) gives fallback.
int StoredListPosition(double stored, int count, int fallback);

// A number as decimal text, as OK stores SplitNum and the parts box shows it:
// up to 15 significant digits, "0" for either zero.
QString NumberText(double value);

// The mail folder a text names: empty is ~/Maildir, a leading "~" is the home
// folder. StoredMailFolder reads the text from section Store, key Maildir.
QString MailFolderPath(const QString& text);
QString StoredMailFolder(const SettingsStore& settings);

}  // namespace zandor
