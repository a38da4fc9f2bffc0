#include "ui/options_range_and_port.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QSerialPortInfo>
#include <algorithm>

#include "ui/options_list_position.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(OptionsRangeAndPort)
};

}  // namespace

std::vector<PortChoice> SystemSerialPorts() {
  std::vector<PortChoice> ports;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    QString description = port.description();
    if (!port.manufacturer().isEmpty())
      description += QStringLiteral(" (%1)").arg(port.manufacturer());
    ports.push_back({port.systemLocation(), description.trimmed()});
  }
  // The stable names survive re-plugging an adapter, unlike /dev/ttyUSB0.
  const QDir byId(QStringLiteral("/dev/serial/by-id"));
  for (const QFileInfo& entry : byId.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
    //: Describes a stable device name; %1 is the device it points to (/dev/ttyUSB0)
    ports.push_back(
        {entry.absoluteFilePath(), Text::tr("the same as %1").arg(entry.symLinkTarget())});
  }
  return ports;
}

void RangeAndPortControls::Build(QWidget* dialog) {
  label1_ = new QLabel(Text::tr("&Date Range"), dialog);
  label1_->setObjectName(QStringLiteral("Label1"));
  cbDaysNum_ = new QComboBox(dialog);
  cbDaysNum_->setObjectName(QStringLiteral("cbDaysNum"));
  label2_ = new QLabel(Text::tr("Serial COM &Port"), dialog);
  label2_->setObjectName(QStringLiteral("Label2"));
  cbCom_ = new QComboBox(dialog);
  cbCom_->setObjectName(QStringLiteral("cbCom"));
  // The entries are known by their position (Port), never by their text.
  for (int port = 1; port <= 4; ++port) {
    //: An entry of the port list; %1 is its number, 1 to 4
    cbCom_->addItem(Text::tr("Com %1").arg(port));
  }
  cbCom_->setCurrentIndex(-1);
  label1_->setBuddy(cbDaysNum_);
  label2_->setBuddy(cbCom_);
  BuildDevice(dialog);
  Connect(dialog);
}

void RangeAndPortControls::BuildDevice(QWidget* dialog) {
  lblPortPath_ = new QLabel(Text::tr("De&vice:"), dialog);
  lblPortPath_->setObjectName(QStringLiteral("lblPortPath"));
  cbPortPath_ = new QComboBox(dialog);
  cbPortPath_->setObjectName(QStringLiteral("cbPortPath"));
  cbPortPath_->setEditable(true);
  cbPortPath_->setInsertPolicy(QComboBox::NoInsert);
  cbPortPath_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cbPortPath_->setMinimumContentsLength(18);
  cbPortPath_->setToolTip(
      Text::tr("The serial device behind the chosen entry: pick one the system lists, "
               "or type any path"));
  lblPortPath_->setBuddy(cbPortPath_);
  lblPortInfo_ = new QLabel(dialog);
  lblPortInfo_->setObjectName(QStringLiteral("lblPortInfo"));
  lblPortInfo_->setTextFormat(Qt::PlainText);
  lblPortInfo_->setWordWrap(true);
}

void RangeAndPortControls::Connect(QWidget* dialog) {
  QObject::connect(cbCom_, &QComboBox::currentIndexChanged, dialog, [this] { ShowPortPath(); });
  // A path typed or picked belongs to the entry chosen.
  QObject::connect(cbPortPath_, &QComboBox::editTextChanged, dialog, [this](const QString& text) {
    const int index = cbCom_->currentIndex();
    if (!showingPortPath_ && index >= 0) portPaths_[static_cast<std::size_t>(index)] = text;
    if (!showingPortPath_) DescribePort();
  });
}

QGridLayout* RangeAndPortControls::LayOut() const {
  // The date range above the port and its device path, so that the page is
  // no wider than its widest line of text.
  auto* top = new QGridLayout;
  top->addWidget(label1_, 0, 0, 1, 2);
  top->addWidget(cbDaysNum_, 1, 0, 1, 2);
  top->addWidget(label2_, 2, 0, 1, 2);
  top->addWidget(cbCom_, 3, 0, 1, 2);
  top->addWidget(lblPortPath_, 4, 0);
  top->addWidget(cbPortPath_, 4, 1);
  top->addWidget(lblPortInfo_, 5, 0, 1, 2);
  top->setColumnStretch(1, 1);
  top->setHorizontalSpacing(12);
  return top;
}

std::vector<QWidget*> RangeAndPortControls::TabOrder() const {
  return {cbDaysNum_, cbCom_, cbPortPath_};
}

void RangeAndPortControls::OfferRanges() {
  cbDaysNum_->clear();
  // Known by their position (Range), never by their text.
  cbDaysNum_->addItems({Text::tr("Last day"), Text::tr("Last 7 days"), Text::tr("Last 30 days"),
                        Text::tr("Last 90 days"),
                        //: The date range of all messages, whatever their date
                        Text::tr("All")});
  cbDaysNum_->setCurrentIndex(1);
}

void RangeAndPortControls::SetPortLister(PortLister lister) {
  portLister_ = std::move(lister);
  OfferPorts();
}

void RangeAndPortControls::OfferPorts() {
  offered_ = portLister_();
  showingPortPath_ = true;
  const QString current = cbPortPath_->currentText();
  cbPortPath_->clear();
  for (const PortChoice& port : offered_) {
    cbPortPath_->addItem(port.path);
    cbPortPath_->setItemData(cbPortPath_->count() - 1, port.description, Qt::ToolTipRole);
  }
  cbPortPath_->setEditText(current);
  showingPortPath_ = false;
  DescribePort();
}

void RangeAndPortControls::RestorePortAndRange(const StoredOptions& stored) {
  cbCom_->setCurrentIndex(stored.port - 1);
  cbDaysNum_->setCurrentIndex(PositionOf(stored.range));
}

void RangeAndPortControls::RestorePortPaths(const StoredOptions& stored) {
  portPaths_ = stored.portPaths;
  ShowPortPath();
}

int RangeAndPortControls::Port() const {
  return cbCom_->currentIndex() + 1;
}

DateRange RangeAndPortControls::Range() const {
  return FromPosition<DateRange>(cbDaysNum_->currentIndex());
}

QString RangeAndPortControls::PortPath() const {
  const int index = cbCom_->currentIndex();
  if (index < 0) return QString();
  const QString path = portPaths_[static_cast<std::size_t>(index)].trimmed();
  return path.isEmpty() ? DefaultPortPath(index + 1) : path;
}

void RangeAndPortControls::ShowPortPath() {
  const int index = cbCom_->currentIndex();
  showingPortPath_ = true;
  cbPortPath_->setEnabled(index >= 0);
  cbPortPath_->setEditText(index >= 0 ? portPaths_[static_cast<std::size_t>(index)] : QString());
  showingPortPath_ = false;
  DescribePort();
}

void RangeAndPortControls::DescribePort() {
  const QString path = cbPortPath_->currentText().trimmed();
  QString text;
  if (!path.isEmpty() && cbPortPath_->isEnabled()) {
    const auto known = std::find_if(offered_.begin(), offered_.end(),
                                    [&path](const PortChoice& port) { return port.path == path; });
    if (known != offered_.end()) {
      text = known->description;
    } else if (!QFileInfo::exists(path)) {
      //: %1 is the path of a serial device
      text = Text::tr("%1 does not exist on this machine").arg(path);
    }
  }
  lblPortInfo_->setText(text);
}

}  // namespace zandor
