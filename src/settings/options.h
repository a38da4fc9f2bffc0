#pragma once

#include <QString>

#include "records/conversion.h"
#include "records/outgoing_record.h"

namespace zandor {

// The state of a three-state check box: the full-sync box may be grayed.
enum class CheckState { Unchecked, Checked, Grayed };

// The live option values. The options dialog implements this over its own
// controls, so that every read returns what the dialog shows at that moment: a
// change made during a synchronisation takes effect at the next read. Tests use
// OptionValues below. Reads never block and never fail.
class Options {
 public:
  virtual ~Options() = default;

  // cbCom: position of the chosen port entry, 0..3 ("Com 1".."Com 4"); -1 for none.
  virtual int PortIndex() const = 0;
  // The device path the chosen port entry maps to (section Ports, COM1..COM4).
  virtual QString PortPath() const = 0;
  // cbDaysNum: 0 "Last day" .. 4 "All"; -1 for none.
  virtual int RangeIndex() const = 0;
  // chkKelvoRemove: remove on the Kelvo what is no longer selected.
  virtual bool KelvoRemove() const = 0;
  // chkOutlookRemove: remove from the store what the Kelvo no longer holds.
  virtual bool OutlookRemove() const = 0;
  // The three option buttons of the conversion frame; at most one is selected.
  virtual bool OstrelConv() const = 0;  // chkOstrelConv, "Western Conversion"
  virtual bool RusConv() const = 0;     // chkRusConv
  virtual bool DravoConv() const = 0;   // chkDravoConv
  // cbMessagesSplit: 0 "Truncate", 1 "Split unlimited", 2 "Split no more then"; -1 for none.
  virtual int SplitModeIndex() const = 0;
  // The text of edMaxNumSplit, as typed.
  virtual QString PartsText() const = 0;
  // chkFullSync on the main window.
  virtual CheckState FullSync() const = 0;
};

// A plain set of option values: what tests and the headless run use.
struct OptionValues final : Options {
  int portIndex = 0;
  QString portPath;
  int rangeIndex = 1;
  bool kelvoRemove = false;
  bool outlookRemove = false;
  bool ostrelConv = true;
  bool rusConv = false;
  bool dravoConv = false;
  int splitModeIndex = 0;
  QString partsText = QStringLiteral("0");
  CheckState fullSync = CheckState::Unchecked;

  int PortIndex() const override { return portIndex; }
  QString PortPath() const override { return portPath; }
  int RangeIndex() const override { return rangeIndex; }
  bool KelvoRemove() const override { return kelvoRemove; }
  bool OutlookRemove() const override { return outlookRemove; }
  bool OstrelConv() const override { return ostrelConv; }
  bool RusConv() const override { return rusConv; }
  bool DravoConv() const override { return dravoConv; }
  int SplitModeIndex() const override { return splitModeIndex; }
  QString PartsText() const override { return partsText; }
  CheckState FullSync() const override { return fullSync; }
};

// The mode the option buttons stand for. chkRusConv is tested before
// chkDravoConv; with neither selected the mode is Western (there is no mode
// without conversion).
ConversionMode ModeOf(const Options& options);

// What the record builder needs of the options, read now: the mode, the
// long-message option and the part limit its text gives.
RecordOptions RecordOptionsOf(const Options& options);

}  // namespace zandor
