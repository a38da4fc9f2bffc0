#pragma once

// The window's line about the last synchronisation, kept between sessions.
//
// It is kept in numbers and names, not as the sentence shown, so that the
// settings file does not change with the desktop's language and the line is
// told in the language of the day. Only the reason a run stopped or failed
// is kept as it was said.

#include <optional>

#include "front/run_report.h"
#include "settings/settings_store.h"

namespace zandor {

void KeepLastRun(SettingsStore& settings, const RunOutcome& outcome);
// The line to show: "Last synchronisation 18:32: complete: ..."; the sentence
// an earlier version kept as it stands; nullopt before the first run.
std::optional<QString> LastRunLine(const SettingsStore& settings);

}  // namespace zandor
