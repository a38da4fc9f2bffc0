#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "settings/stored_options.h"
#include "settings/sync_options.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QWidget;

namespace zandor {

// A serial port the system knows, for the device field's list.
struct PortChoice {
  QString path;         // "/dev/ttyUSB0", "/dev/serial/by-id/usb-..."
  QString description;  // "FT232R USB UART (FTDI)"; may be empty
};
using PortLister = std::function<std::vector<PortChoice>()>;
// The system's: QSerialPortInfo's ports, then the stable /dev/serial/by-id names.
std::vector<PortChoice> SystemSerialPorts();

// The top of the options dialog: the date range on the left, the port entry
// and the device path behind it on the right, with a line under the device
// saying what it is. The controls belong to the dialog; this keeps the path
// of each entry as the dialog shows it and what the system offers.
class RangeAndPortControls {
 public:
  RangeAndPortControls() = default;
  RangeAndPortControls(const RangeAndPortControls&) = delete;
  RangeAndPortControls& operator=(const RangeAndPortControls&) = delete;

  // Creates the controls as children of dialog, which also carries their
  // connections.
  void Build(QWidget* dialog);
  // A new grid with the controls in place.
  QGridLayout* LayOut() const;
  // The focusable controls in their tab order.
  std::vector<QWidget*> TabOrder() const;

  // Fills the range list, "Last 7 days" chosen.
  void OfferRanges();
  void SetPortLister(PortLister lister);
  // Offers the ports the lister finds now, keeping the path typed.
  void OfferPorts();

  void RestorePortAndRange(const StoredOptions& stored);
  void RestorePortPaths(const StoredOptions& stored);

  int Port() const;  // 1..4; 0 for none chosen
  DateRange Range() const;
  // The device path of the chosen entry, its default when the field is empty.
  QString PortPath() const;
  const std::array<QString, 4>& PortPaths() const { return portPaths_; }

 private:
  void BuildDevice(QWidget* dialog);
  void Connect(QWidget* dialog);
  void ShowPortPath();
  // Says under the device field what the device is, or that it is missing.
  void DescribePort();

  QLabel* label1_ = nullptr;
  QComboBox* cbDaysNum_ = nullptr;
  QLabel* label2_ = nullptr;
  QComboBox* cbCom_ = nullptr;
  QLabel* lblPortPath_ = nullptr;
  QComboBox* cbPortPath_ = nullptr;
  QLabel* lblPortInfo_ = nullptr;

  PortLister portLister_ = SystemSerialPorts;
  std::vector<PortChoice> offered_;
  // The device path of each port entry as the dialog shows it now.
  std::array<QString, 4> portPaths_;
  // Set while the dialog itself puts text in the device field.
  bool showingPortPath_ = false;
};

}  // namespace zandor
