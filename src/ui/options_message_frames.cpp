#include "ui/options_message_frames.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

#include "settings/lenient_number.h"
#include "ui/options_list_position.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(OptionsMessageFrames)
};

// An option button as the conversion frame needs it: a click selects it and
// never clears it, as with any option button. The frame's group is not
// exclusive (a stored state may leave no button selected), so this and
// ConversionFrame::SelectOnly keep the one-of-three rule by hand.
class OptionButton final : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override {
    if (!isChecked()) setChecked(true);
  }
};

}  // namespace

QString ClampedPartsText(const QString& typed) {
  const std::optional<qint16> number = ToInt16(RoundHalfToEven(ReadLenientNumber(typed)));
  // -32768 has no 16-bit absolute value: it counts as beyond the range.
  if (!number || *number == std::numeric_limits<qint16>::min()) return QStringLiteral("999");
  qint16 parts = *number;
  qint16 limit = 999;
  return QString::number(MinOfAbsolutes(parts, limit));
}

QGroupBox* RemovalFrame::Build(QWidget* dialog) {
  auto* fmRemovalSync = new QGroupBox(Text::tr("Syncronize Message Removal"), dialog);
  fmRemovalSync->setObjectName(QStringLiteral("fmRemovalSync"));
  chkKelvoRemove_ =
      new QCheckBox(Text::tr("Remove messages deleted in the mail from &Kelvo also"), dialog);
  chkKelvoRemove_->setObjectName(QStringLiteral("chkKelvoRemove"));
  chkOutlookRemove_ =
      new QCheckBox(Text::tr("Remove messages deleted on Kelvo from the &mail also"), dialog);
  chkOutlookRemove_->setObjectName(QStringLiteral("chkOutlookRemove"));
  auto* removalLayout = new QVBoxLayout(fmRemovalSync);
  removalLayout->addWidget(chkKelvoRemove_);
  removalLayout->addWidget(chkOutlookRemove_);
  return fmRemovalSync;
}

std::vector<QWidget*> RemovalFrame::TabOrder() const {
  return {chkKelvoRemove_, chkOutlookRemove_};
}

bool RemovalFrame::RemoveFromKelvo() const {
  return chkKelvoRemove_->isChecked();
}

bool RemovalFrame::RemoveFromMail() const {
  return chkOutlookRemove_->isChecked();
}

void RemovalFrame::TakeSnapshot() {
  snapshotKelvoRemove_ = chkKelvoRemove_->isChecked();
  snapshotOutlookRemove_ = chkOutlookRemove_->isChecked();
}

void RemovalFrame::RestoreSnapshot() {
  chkKelvoRemove_->setChecked(snapshotKelvoRemove_);
  chkOutlookRemove_->setChecked(snapshotOutlookRemove_);
}

QGroupBox* ConversionFrame::Build(QWidget* dialog) {
  auto* frame1 = new QGroupBox(Text::tr("Symbol Conversion"), dialog);
  frame1->setObjectName(QStringLiteral("Frame1"));
  // The Western conversion, whatever its name says.
  chkOstrelConv_ = new OptionButton(Text::tr("&Western Conversion"), frame1);
  chkOstrelConv_->setObjectName(QStringLiteral("chkOstrelConv"));
  // The Russian conversion for Ostrel's client.
  chkRusConv_ =
      //: Ostrel is the maker of a Kelvo mail client
      new OptionButton(Text::tr("Russian Conversion (for Ostr&el's client)"), frame1);
  chkRusConv_->setObjectName(QStringLiteral("chkRusConv"));
  chkDravoConv_ =
      //: Dravo is a Kelvo mail client
      new OptionButton(Text::tr("Russian Conversion (For Dr&avo client)"), frame1);
  chkDravoConv_->setObjectName(QStringLiteral("chkDravoConv"));
  conversionGroup_ = new QButtonGroup(dialog);
  conversionGroup_->setExclusive(false);
  auto* conversionLayout = new QVBoxLayout(frame1);
  for (QRadioButton* button : {chkOstrelConv_, chkRusConv_, chkDravoConv_}) {
    conversionGroup_->addButton(button);
    conversionLayout->addWidget(button);
    QObject::connect(button, &QAbstractButton::toggled, dialog, [this, button](bool on) {
      if (on) SelectOnly(button);
    });
  }
  return frame1;
}

std::vector<QWidget*> ConversionFrame::TabOrder() const {
  return {chkOstrelConv_, chkRusConv_, chkDravoConv_};
}

ConversionMode ConversionFrame::Mode() const {
  // Russian is tested before Dravo; with neither the mode is Western.
  return chkRusConv_->isChecked()     ? ConversionMode::RussianOstrel
         : chkDravoConv_->isChecked() ? ConversionMode::RussianDravo
                                      : ConversionMode::Western;
}

std::optional<ConversionMode> ConversionFrame::Selected() const {
  std::optional<ConversionMode> selected;
  if (chkRusConv_->isChecked()) selected = ConversionMode::RussianOstrel;
  if (chkDravoConv_->isChecked()) selected = ConversionMode::RussianDravo;
  if (chkOstrelConv_->isChecked()) selected = ConversionMode::Western;
  return selected;
}

void ConversionFrame::Restore(std::optional<ConversionMode> stored) {
  // At most one of the three is selected, so the order does not matter.
  chkRusConv_->setChecked(stored == ConversionMode::RussianOstrel);
  chkDravoConv_->setChecked(stored == ConversionMode::RussianDravo);
  chkOstrelConv_->setChecked(stored == ConversionMode::Western);
}

void ConversionFrame::SelectOnly(QRadioButton* chosen) {
  for (QAbstractButton* button : conversionGroup_->buttons()) {
    if (button != chosen) button->setChecked(false);
  }
}

QGroupBox* LongMessagesFrame::Build(QWidget* dialog) {
  //: The frame that says what becomes of messages too long for the Kelvo
  auto* frame2 = new QGroupBox(Text::tr("Messages &split"), dialog);
  frame2->setObjectName(QStringLiteral("Frame2"));
  cbMessagesSplit_ = new QComboBox(frame2);
  cbMessagesSplit_->setObjectName(QStringLiteral("cbMessagesSplit"));
  edMaxNumSplit_ = new QLineEdit(frame2);
  edMaxNumSplit_->setObjectName(QStringLiteral("edMaxNumSplit"));
  edMaxNumSplit_->setMaximumWidth(
      dialog->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  //: After the box with the most parts a message is split into: "Split no more than [5] parts"
  parts_ = new QLabel(Text::tr("par&ts"), frame2);
  parts_->setObjectName(QStringLiteral("parts"));
  parts_->setBuddy(edMaxNumSplit_);
  auto* splitLayout = new QHBoxLayout(frame2);
  splitLayout->addWidget(cbMessagesSplit_, 1);
  splitLayout->addWidget(edMaxNumSplit_);
  splitLayout->addWidget(parts_);
  QObject::connect(cbMessagesSplit_, &QComboBox::currentIndexChanged, dialog,
                   [this] { UpdatePartsEnabled(); });
  QObject::connect(cbMessagesSplit_, &QComboBox::currentTextChanged, dialog,
                   [this] { UpdatePartsEnabled(); });
  QObject::connect(edMaxNumSplit_, &QLineEdit::editingFinished, dialog,
                   [this] { ShowPartsUsed(); });
  return frame2;
}

std::vector<QWidget*> LongMessagesFrame::TabOrder() const {
  return {cbMessagesSplit_, edMaxNumSplit_};
}

void LongMessagesFrame::OfferChoices() {
  cbMessagesSplit_->clear();
  // Known by their position (Chosen), never by their text.
  //: What becomes of a message too long for the Kelvo: cut, or split into parts
  cbMessagesSplit_->addItems({Text::tr("Truncate"), Text::tr("Split unlimited"),
                              //: Followed by a box with a number and "parts"
                              Text::tr("Split no more then")});
  cbMessagesSplit_->setCurrentIndex(0);
}

LongMessages LongMessagesFrame::Chosen() const {
  return FromPosition<LongMessages>(cbMessagesSplit_->currentIndex());
}

QString LongMessagesFrame::Parts() const {
  return edMaxNumSplit_->text();
}

void LongMessagesFrame::ShowParts(const QString& parts) {
  edMaxNumSplit_->setText(parts);
}

void LongMessagesFrame::Restore(LongMessages longMessages, const QString& parts) {
  cbMessagesSplit_->setCurrentIndex(PositionOf(longMessages));
  UpdatePartsEnabled();
  edMaxNumSplit_->setText(parts);
}

void LongMessagesFrame::UpdatePartsEnabled() {
  edMaxNumSplit_->setEnabled(cbMessagesSplit_->currentIndex() == 2);
}

void LongMessagesFrame::ShowPartsUsed() {
  // Text that is no usable number shows, once typed, the number OK keeps
  // and a synchronisation uses.
  const QString used = ClampedPartsText(edMaxNumSplit_->text());
  if (edMaxNumSplit_->text() != used) edMaxNumSplit_->setText(used);
}

}  // namespace zandor
