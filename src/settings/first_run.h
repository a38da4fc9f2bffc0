#pragma once

#include <QString>

#include "settings/settings_store.h"

namespace zandor {

// The list positions the main window restores at start.
struct RestoredPortAndRange {
  int portIndex = 0;    // 0..3, or -1 for no selection
  int rangeIndex = -1;  // 0..4, or -1 for no selection
};

// The first-run step of the main window's load: on a first start (no port
// stored, or "0") it stores port "1" and range "2"; then it reads back the
// positions to select.
RestoredPortAndRange RunFirstRunStep(SettingsStore& store);

// A stored number read leniently; fallback when the key is absent.
double ReadStoredNumber(const SettingsStore& store, const QString& section, const QString& key,
                        double fallback);

// The device path behind "Com 1".."Com 4" (portNumber 1..4): section Ports,
// keys COM1..COM4, else /dev/ttyS0../dev/ttyS3.
QString DefaultPortPath(int portNumber);
QString StoredPortPath(const SettingsStore& store, int portNumber);

}  // namespace zandor
