#pragma once

#include <vector>

#include "settings/stored_options.h"

class QCheckBox;
class QGroupBox;
class QWidget;

namespace zandor {

// "When the Kelvo is plugged in": whether plugging the Kelvo in synchronises,
// and what such a run, which nobody is there to answer, may remove. Stored
// with OK, put back by Cancel; the removals only count with the first tick.
class PluggedInFrame {
 public:
  PluggedInFrame() = default;
  PluggedInFrame(const PluggedInFrame&) = delete;
  PluggedInFrame& operator=(const PluggedInFrame&) = delete;

  QGroupBox* Build(QWidget* dialog);
  std::vector<QWidget*> TabOrder() const;

  void Restore(const PluggedInOptions& stored);
  PluggedInOptions Chosen() const;

 private:
  void Follow();  // the removals are for the runs the first tick starts

  QCheckBox* chkPluggedInSync_ = nullptr;
  QCheckBox* chkPluggedInMailRemove_ = nullptr;
  QCheckBox* chkPluggedInKelvoRemove_ = nullptr;
};

}  // namespace zandor
