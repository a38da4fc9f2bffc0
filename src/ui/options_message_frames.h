#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "records/conversion.h"
#include "records/outgoing_record.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace zandor {

// The options dialog's frames on what happens to messages. Each creates its
// controls as children of the dialog, which also carries their connections,
// and keeps them as the dialog shows them.

// "Syncronize Message Removal": the two boxes are never stored; Cancel puts
// them back as the last activation of the dialog found them.
class RemovalFrame {
 public:
  RemovalFrame() = default;
  RemovalFrame(const RemovalFrame&) = delete;
  RemovalFrame& operator=(const RemovalFrame&) = delete;

  QGroupBox* Build(QWidget* dialog);
  std::vector<QWidget*> TabOrder() const;

  bool RemoveFromKelvo() const;
  bool RemoveFromMail() const;
  void TakeSnapshot();
  void RestoreSnapshot();

 private:
  QCheckBox* chkKelvoRemove_ = nullptr;
  QCheckBox* chkOutlookRemove_ = nullptr;
  bool snapshotKelvoRemove_ = false;
  bool snapshotOutlookRemove_ = false;
};

// "Symbol Conversion": three option buttons of which at most one is selected
// (a stored state may leave none).
class ConversionFrame {
 public:
  ConversionFrame() = default;
  ConversionFrame(const ConversionFrame&) = delete;
  ConversionFrame& operator=(const ConversionFrame&) = delete;

  QGroupBox* Build(QWidget* dialog);
  std::vector<QWidget*> TabOrder() const;

  // The mode a synchronisation converts with: Western when none is selected.
  ConversionMode Mode() const;
  // The button selected, as OK stores it; nullopt for none.
  std::optional<ConversionMode> Selected() const;
  void Restore(std::optional<ConversionMode> stored);

 private:
  // Clears the other two: the group is not exclusive, so the rule is kept here.
  void SelectOnly(QRadioButton* chosen);

  QButtonGroup* conversionGroup_ = nullptr;
  // ConversionMode::Western: Windows-1252 through the Western tables.
  QRadioButton* chkOstrelConv_ = nullptr;
  // ConversionMode::RussianOstrel: Windows-1251, sent through the Cyrillic table.
  QRadioButton* chkRusConv_ = nullptr;
  // ConversionMode::RussianDravo: Windows-1251, sent as it is.
  QRadioButton* chkDravoConv_ = nullptr;
};

// "Messages split": what becomes of a message too long for the Kelvo, and
// the most parts one is split into.
class LongMessagesFrame {
 public:
  LongMessagesFrame() = default;
  LongMessagesFrame(const LongMessagesFrame&) = delete;
  LongMessagesFrame& operator=(const LongMessagesFrame&) = delete;

  QGroupBox* Build(QWidget* dialog);
  std::vector<QWidget*> TabOrder() const;

  // Fills the list, "Truncate" chosen.
  void OfferChoices();
  LongMessages Chosen() const;
  // The parts box as typed.
  QString Parts() const;
  void ShowParts(const QString& parts);
  void Restore(LongMessages longMessages, const QString& parts);

 private:
  void UpdatePartsEnabled();
  // Puts the number that will be used in place of parts text that is not one.
  void ShowPartsUsed();

  QComboBox* cbMessagesSplit_ = nullptr;
  QLineEdit* edMaxNumSplit_ = nullptr;
  QLabel* parts_ = nullptr;
};

// What OK leaves in the parts box for the text typed there: the number
// rounded (halves to even), as its absolute value, at most 999. A number that
// does not fit in 16 bits shows 999.
QString ClampedPartsText(const QString& typed);

}  // namespace zandor
