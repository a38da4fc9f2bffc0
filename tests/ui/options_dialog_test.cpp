#include "ui/options_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>
#include <vector>

#include "support/row_name.h"
#include "ui/activation_history.h"
#include "ui_test_support.h"

namespace zandor {
namespace {

using testing::Activate;
using testing::Control;
using testing::ReadKey;
using testing::Stored;

// The controls of a dialog, found by the names the rest of the program uses.
struct Controls {
  explicit Controls(const QWidget& d)
      : cbDaysNum(Control<QComboBox>(d, "cbDaysNum")),
        cbCom(Control<QComboBox>(d, "cbCom")),
        cbPortPath(Control<QComboBox>(d, "cbPortPath")),
        chkKelvoRemove(Control<QCheckBox>(d, "chkKelvoRemove")),
        chkOutlookRemove(Control<QCheckBox>(d, "chkOutlookRemove")),
        chkOstrelConv(Control<QRadioButton>(d, "chkOstrelConv")),
        chkRusConv(Control<QRadioButton>(d, "chkRusConv")),
        chkDravoConv(Control<QRadioButton>(d, "chkDravoConv")),
        cbMessagesSplit(Control<QComboBox>(d, "cbMessagesSplit")),
        edMaxNumSplit(Control<QLineEdit>(d, "edMaxNumSplit")),
        edMailFolder(Control<QLineEdit>(d, "edMailFolder")),
        btnOK(Control<QPushButton>(d, "btnOK")),
        btnCancel(Control<QPushButton>(d, "btnCancel")) {}

  QComboBox* cbDaysNum;
  QComboBox* cbCom;
  QComboBox* cbPortPath;
  QCheckBox* chkKelvoRemove;
  QCheckBox* chkOutlookRemove;
  QRadioButton* chkOstrelConv;
  QRadioButton* chkRusConv;
  QRadioButton* chkDravoConv;
  QComboBox* cbMessagesSplit;
  QLineEdit* edMaxNumSplit;
  QLineEdit* edMailFolder;
  QPushButton* btnOK;
  QPushButton* btnCancel;

  // Which option button is selected: "ostrel", "rus", "dravo", "" for none,
  // "several" when the one-of-three rule is broken.
  std::string Conversion() const {
    const int count = int{chkOstrelConv->isChecked()} + int{chkRusConv->isChecked()} +
                      int{chkDravoConv->isChecked()};
    if (count > 1) return "several";
    if (chkOstrelConv->isChecked()) return "ostrel";
    if (chkRusConv->isChecked()) return "rus";
    if (chkDravoConv->isChecked()) return "dravo";
    return "";
  }
};

class OptionsDialogFixture {
 protected:
  void Open(const std::vector<Stored>& before) {
    for (const Stored& v : before) testing::Seed(store, {v});
    dialog = std::make_unique<OptionsDialog>(store, history);
    controls = std::make_unique<Controls>(*dialog);
  }

  MemorySettingsStore store;
  ActivationHistory history;
  std::unique_ptr<OptionsDialog> dialog;
  std::unique_ptr<Controls> controls;
};

// Load: what the dialog shows for what the store holds.
struct LoadRow {
  const char* name;
  std::vector<Stored> before;
  std::string conversion;
  int splitMode;
  const char* parts;
};

class OptionsLoadTest : public OptionsDialogFixture, public ::testing::TestWithParam<LoadRow> {};

TEST_P(OptionsLoadTest, ShowsWhatTheStoreHolds) {
  const LoadRow& row = GetParam();
  Open(row.before);
  const Controls& c = *controls;
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(c.Conversion(), row.conversion);
  EXPECT_EQ(c.cbMessagesSplit->currentIndex(), row.splitMode);
  EXPECT_EQ(c.edMaxNumSplit->text(), QString::fromUtf8(row.parts));
  EXPECT_EQ(c.edMaxNumSplit->isEnabled(), row.splitMode == 2);
  // The range list starts on "Last 7 days"; the port is the main window's.
  EXPECT_EQ(c.cbDaysNum->currentIndex(), 1);
  EXPECT_EQ(c.cbDaysNum->count(), 5);
  EXPECT_EQ(c.cbDaysNum->itemText(4), QStringLiteral("All"));
  EXPECT_EQ(c.cbMessagesSplit->itemText(2), QStringLiteral("Split no more then"));
  EXPECT_FALSE(c.chkKelvoRemove->isChecked());
  EXPECT_FALSE(c.chkOutlookRemove->isChecked());
  // Loading writes nothing.
  EXPECT_EQ(store.Values().size(), row.before.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionsLoadTest,
    ::testing::Values(
        LoadRow{"EmptyStore", {}, "ostrel", 0, "0"},
        LoadRow{"RussianOnly",
                {{"SymbolsConversion", "RussianConversion", "0"},
                 {"SymbolsConversion", "DravoConversion", "1"},
                 {"SymbolsConversion", "WesternConversion", "1"}},
                "rus",
                0,
                "0"},
        LoadRow{"AllThreeOneSelectsNone",
                {{"SymbolsConversion", "RussianConversion", "1"},
                 {"SymbolsConversion", "DravoConversion", "1"},
                 {"SymbolsConversion", "WesternConversion", "1"}},
                "",
                0,
                "0"},
        LoadRow{"AllThreeSelectedLastWins",
                {{"SymbolsConversion", "RussianConversion", "0"},
                 {"SymbolsConversion", "DravoConversion", "0"},
                 {"SymbolsConversion", "WesternConversion", "0"}},
                "ostrel",
                0,
                "0"},
        LoadRow{"RussianAndDravoDravoWins",
                {{"SymbolsConversion", "RussianConversion", "0"},
                 {"SymbolsConversion", "DravoConversion", "0"},
                 {"SymbolsConversion", "WesternConversion", "1"}},
                "dravo",
                0,
                "0"},
        LoadRow{"AnyValueButOneSelects",
                {{"SymbolsConversion", "DravoConversion", "7"},
                 {"SymbolsConversion", "WesternConversion", "1"}},
                "dravo",
                0,
                "0"},
        LoadRow{"SplitNumSixShowsFive", {{"Split", "SplitNum", "6"}}, "ostrel", 0, "5"},
        LoadRow{
            "SplitNumFractionShowsFraction", {{"Split", "SplitNum", "3.5"}}, "ostrel", 0, "2.5"},
        LoadRow{"SplitNumLettersShowsMinusOne", {{"Split", "SplitNum", "abc"}}, "ostrel", 0, "-1"},
        LoadRow{"SplitModeThreeEnablesParts",
                {{"Split", "SplitMode", "3"}, {"Split", "SplitNum", "4"}},
                "ostrel",
                2,
                "3"},
        LoadRow{"SplitModeTwo", {{"Split", "SplitMode", "2"}}, "ostrel", 1, "0"},
        LoadRow{"SplitModeOutOfListTruncates", {{"Split", "SplitMode", "9"}}, "ostrel", 0, "0"},
        LoadRow{
            "SplitModeZeroLeavesNoSelection", {{"Split", "SplitMode", "0"}}, "ostrel", -1, "0"}),
    testing::RowName{});

// OK: what the store holds and the parts box shows after the user's changes.
struct OkRow {
  const char* name;
  std::vector<Stored> before;
  std::function<void(Controls&)> act;
  std::vector<Stored> after;  // value nullptr: the key must be absent
  const char* partsAfter;
};

class OptionsOkTest : public OptionsDialogFixture, public ::testing::TestWithParam<OkRow> {};

TEST_P(OptionsOkTest, StoresTheControls) {
  const OkRow& row = GetParam();
  Open(row.before);
  dialog->RestorePortAndRange({0, 1});
  dialog->show();
  row.act(*controls);
  controls->btnOK->click();
  for (const Stored& expected : row.after) {
    const std::optional<QString> actual = ReadKey(store, expected.section, expected.key);
    if (expected.value == nullptr) {
      EXPECT_FALSE(actual) << expected.section << "/" << expected.key << " = "
                           << actual.value_or(QString()).toStdString();
    } else {
      EXPECT_EQ(actual, QString::fromUtf8(expected.value))
          << expected.section << "/" << expected.key;
    }
  }
  EXPECT_EQ(controls->edMaxNumSplit->text(), QString::fromUtf8(row.partsAfter));
  EXPECT_FALSE(dialog->isVisible());
}

void TypeParts(Controls& c, const char* text) {
  c.cbMessagesSplit->setCurrentIndex(2);
  c.edMaxNumSplit->setText(QString::fromUtf8(text));
}

INSTANTIATE_TEST_SUITE_P(Rows, OptionsOkTest,
                         ::
                             testing::Values(OkRow{"Untouched",
                                                   {},
                                                   [](Controls&) {},
                                                   {{"Com", "Port", "1"},
                                                    {"Sync", "Days", "2"},
                                                    {"Split", "SplitMode", "1"},
                                                    {"Split", "SplitNum", "1"},
                                                    {"SymbolsConversion", "RussianConversion", "1"},
                                                    {"SymbolsConversion", "DravoConversion", "1"},
                                                    {"SymbolsConversion", "WesternConversion", "0"},
                                                    {"Ports", "COM1", nullptr},
                                                    {"Store", "Maildir", nullptr}},
                                                   "0"},
                                             OkRow{"TwelveStoresThirteen",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "12"); },
                                                   {{"Split", "SplitNum", "13"},
                                                    {"Split", "SplitMode", "3"}},
                                                   "12"},
                                             OkRow{"LettersStoreOneShowZero",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "many"); },
                                                   {{"Split", "SplitNum", "1"}},
                                                   "0"},
                                             OkRow{"EmptyStoresOne",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, ""); },
                                                   {{"Split", "SplitNum", "1"}},
                                                   "0"},
                                             OkRow{"TwoAndAHalfShowsTwo",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "2.5"); },
                                                   {{"Split", "SplitNum", "3.5"}},
                                                   "2"},
                                             OkRow{"ThreeAndAHalfShowsFour",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "3.5"); },
                                                   {{"Split", "SplitNum", "4.5"}},
                                                   "4"},
                                             OkRow{"FifteenHundredShows999",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "1500"); },
                                                   {{"Split", "SplitNum", "1501"}},
                                                   "999"},
                                             OkRow{"Exactly999",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "999"); },
                                                   {{"Split", "SplitNum", "1000"}},
                                                   "999"},
                                             OkRow{"MinusFiveShowsFive",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "-5"); },
                                                   {{"Split", "SplitNum", "-4"}},
                                                   "5"},
                                             OkRow{"Beyond16BitsShows999",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "40000"); },
                                                   {{"Split", "SplitNum", "40001"}},
                                                   "999"},
                                             OkRow{"Minus32768Shows999",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, "-32768"); },
                                                   {{"Split", "SplitNum", "-32767"}},
                                                   "999"},
                                             OkRow{"BlanksAndHexReadLeniently",
                                                   {},
                                                   [](Controls& c) { TypeParts(c, " &H1 0 "); },
                                                   {{"Split", "SplitNum", "17"}},
                                                   "16"},
                                             OkRow{
                                                 "NoPortStoresZero",
                                                 {},
                                                 [](Controls& c) { c.cbCom->setCurrentIndex(-1); },
                                                 {{"Com", "Port", "0"}},
                                                 "0"},
                                             OkRow{"NoRangeStoresZero",
                                                   {},
                                                   [](Controls& c) {
                                                     c.cbDaysNum->setCurrentIndex(-1);
                                                   },
                                                   {{"Sync", "Days", "0"}},
                                                   "0"},
                                             OkRow{"PortAndRange",
                                                   {},
                                                   [](Controls& c) {
                                                     c.cbCom->setCurrentIndex(3);
                                                     c.cbDaysNum->setCurrentIndex(4);
                                                   },
                                                   {{"Com", "Port", "4"}, {"Sync", "Days", "5"}},
                                                   "0"},
                                             OkRow{
                                                 "DravoClicked",
                                                 {},
                                                 [](Controls& c) { c.chkDravoConv->click(); },
                                                 {{"SymbolsConversion", "RussianConversion", "1"},
                                                  {"SymbolsConversion", "DravoConversion", "0"},
                                                  {"SymbolsConversion", "WesternConversion", "1"}},
                                                 "0"},
                                             OkRow{
                                                 "NoneSelectedStoresAllOne",
                                                 {{"SymbolsConversion", "WesternConversion", "1"}},
                                                 [](Controls&) {},
                                                 {{"SymbolsConversion", "RussianConversion", "1"},
                                                  {"SymbolsConversion", "DravoConversion", "1"},
                                                  {"SymbolsConversion", "WesternConversion", "1"}},
                                                 "0"},
                                             OkRow{"RemovalBoxesAreNotStored",
                                                   {},
                                                   [](Controls& c) {
                                                     c.chkKelvoRemove->click();
                                                     c.chkOutlookRemove->click();
                                                   },
                                                   {{"Sync", "KelvoRemove", nullptr},
                                                    {"Sync", "OutlookRemove", nullptr}},
                                                   "0"},
                                             OkRow{"TypedPortPathIsStoredForItsEntryOnly",
                                                   {},
                                                   [](Controls& c) {
                                                     c.cbCom->setCurrentIndex(2);
                                                     c.cbPortPath->setEditText(
                                                         QStringLiteral("/dev/ttyUSB0"));
                                                     c.cbCom->setCurrentIndex(0);
                                                   },
                                                   {{"Ports", "COM3", "/dev/ttyUSB0"},
                                                    {"Ports", "COM1", nullptr},
                                                    {"Ports", "COM2", nullptr},
                                                    {"Com", "Port", "1"}},
                                                   "0"},
                                             OkRow{"MailFolderIsStoredAsTyped",
                                                   {},
                                                   [](Controls& c) {
                                                     c.edMailFolder->setText(
                                                         QStringLiteral("~/Mail"));
                                                   },
                                                   {{"Store", "Maildir", "~/Mail"}},
                                                   "0"},
                                             OkRow{"EmptyMailFolderFallsBackToDefault",
                                                   {{"Store", "Maildir", "/srv/mail"}},
                                                   [](Controls& c) { c.edMailFolder->clear(); },
                                                   {{"Store", "Maildir", nullptr}},
                                                   "0"}),
                         testing::RowName{});

// Cancel (and the title bar's close, and Escape): the controls re-read from
// the store, the removal boxes from the snapshot.
enum class CloseBy { CancelButton, TitleBar, Escape };

struct CancelRow {
  const char* name;
  std::vector<Stored> before;
  CloseBy closeBy;
  int port;
  int range;
  std::string conversion;
  int splitMode;
  const char* parts;
};

class OptionsCancelTest : public OptionsDialogFixture,
                          public ::testing::TestWithParam<CancelRow> {};

TEST_P(OptionsCancelTest, RestoresFromTheStore) {
  const CancelRow& row = GetParam();
  Open(row.before);
  dialog->show();
  Activate(dialog.get());
  Controls& c = *controls;
  // The user changes everything.
  c.cbCom->setCurrentIndex(1);
  c.cbDaysNum->setCurrentIndex(0);
  c.chkRusConv->click();
  c.cbMessagesSplit->setCurrentIndex(2);
  c.edMaxNumSplit->setText(QStringLiteral("77"));
  c.chkKelvoRemove->click();
  c.cbPortPath->setEditText(QStringLiteral("/dev/ttyACM7"));
  c.edMailFolder->setText(QStringLiteral("/elsewhere"));
  switch (row.closeBy) {
    case CloseBy::CancelButton:
      c.btnCancel->click();
      break;
    case CloseBy::TitleBar:
      dialog->close();
      break;
    case CloseBy::Escape: {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(dialog.get(), &escape);
      break;
    }
  }
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(c.cbCom->currentIndex(), row.port);
  EXPECT_EQ(c.cbDaysNum->currentIndex(), row.range);
  EXPECT_EQ(c.Conversion(), row.conversion);
  EXPECT_EQ(c.cbMessagesSplit->currentIndex(), row.splitMode);
  EXPECT_EQ(c.edMaxNumSplit->isEnabled(), row.splitMode == 2);
  EXPECT_EQ(c.edMaxNumSplit->text(), QString::fromUtf8(row.parts));
  EXPECT_FALSE(c.chkKelvoRemove->isChecked());
  EXPECT_EQ(dialog->PortPath(),
            row.port < 0 ? QString() : QStringLiteral("/dev/ttyS%1").arg(row.port));
  EXPECT_EQ(dialog->MailFolder(), QDir::homePath() + QStringLiteral("/Maildir"));
  // Nothing was written.
  EXPECT_EQ(store.Values().size(), row.before.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionsCancelTest,
    ::testing::Values(
        CancelRow{"EmptyStore", {}, CloseBy::CancelButton, -1, -1, "ostrel", 0, "0"},
        CancelRow{"StoredValues",
                  {{"Com", "Port", "3"},
                   {"Sync", "Days", "5"},
                   {"Split", "SplitMode", "2"},
                   {"Split", "SplitNum", "10"},
                   {"SymbolsConversion", "DravoConversion", "0"},
                   {"SymbolsConversion", "WesternConversion", "1"}},
                  CloseBy::CancelButton,
                  2,
                  4,
                  "dravo",
                  1,
                  "9"},
        CancelRow{"PortZeroLeavesNoSelection",
                  {{"Com", "Port", "0"}, {"Sync", "Days", "0"}},
                  CloseBy::CancelButton,
                  -1,
                  -1,
                  "ostrel",
                  0,
                  "0"},
        CancelRow{"PortOutsideListSelectsCom1",
                  {{"Com", "Port", "9"}, {"Sync", "Days", "2"}},
                  CloseBy::CancelButton,
                  0,
                  1,
                  "ostrel",
                  0,
                  "0"},
        CancelRow{"SplitModeThreeEnablesParts",
                  {{"Com", "Port", "2"}, {"Split", "SplitMode", "3"}, {"Split", "SplitNum", "4"}},
                  CloseBy::CancelButton,
                  1,
                  -1,
                  "ostrel",
                  2,
                  "3"},
        CancelRow{"TitleBarCloseActsAsCancel",
                  {{"Com", "Port", "2"}, {"Sync", "Days", "3"}},
                  CloseBy::TitleBar,
                  1,
                  2,
                  "ostrel",
                  0,
                  "0"},
        CancelRow{"EscapeActsAsCancel",
                  {{"Com", "Port", "2"}, {"Sync", "Days", "3"}},
                  CloseBy::Escape,
                  1,
                  2,
                  "ostrel",
                  0,
                  "0"}),
    testing::RowName{});

// The snapshot of the removal boxes: taken each time the dialog becomes the
// active window coming from another of the program's windows.
enum class Step {
  TickKelvo,
  TickOutlook,
  ToMainWindow,
  ToOtherProgram,
  BackToDialog,
  Cancel,
  Ok,
  ShowFromMenu,
};

struct SnapshotRow {
  const char* name;
  std::vector<Step> steps;
  bool kelvoAfter;
  bool outlookAfter;
};

class OptionsSnapshotTest : public OptionsDialogFixture,
                            public ::testing::TestWithParam<SnapshotRow> {};

TEST_P(OptionsSnapshotTest, CancelRestoresTheBoxesOfTheLastActivation) {
  QWidget mainWindow;  // stands for the main window: another watched window
  history.Watch(&mainWindow);
  Open({});
  mainWindow.show();
  Activate(&mainWindow);
  dialog->show();
  Activate(dialog.get());
  for (const Step step : GetParam().steps) {
    switch (step) {
      case Step::TickKelvo:
        controls->chkKelvoRemove->click();
        break;
      case Step::TickOutlook:
        controls->chkOutlookRemove->click();
        break;
      case Step::ToMainWindow:
        Activate(&mainWindow);
        break;
      case Step::ToOtherProgram:
        Activate(nullptr);
        break;
      case Step::BackToDialog:
        Activate(dialog.get());
        break;
      case Step::Cancel:
        controls->btnCancel->click();
        Activate(&mainWindow);
        break;
      case Step::Ok:
        controls->btnOK->click();
        Activate(&mainWindow);
        break;
      case Step::ShowFromMenu:
        dialog->show();
        Activate(dialog.get());
        break;
    }
  }
  EXPECT_EQ(controls->chkKelvoRemove->isChecked(), GetParam().kelvoAfter);
  EXPECT_EQ(controls->chkOutlookRemove->isChecked(), GetParam().outlookAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionsSnapshotTest,
    ::testing::Values(
        SnapshotRow{
            "TickThenCancel", {Step::TickKelvo, Step::TickOutlook, Step::Cancel}, false, false},
        SnapshotRow{"ReturnFromMainWindowTakesTheTick",
                    {Step::TickKelvo, Step::ToMainWindow, Step::BackToDialog, Step::Cancel},
                    true,
                    false},
        SnapshotRow{"ReturnFromAnotherProgramKeepsTheSnapshot",
                    {Step::TickKelvo, Step::ToOtherProgram, Step::BackToDialog, Step::Cancel},
                    false,
                    false},
        SnapshotRow{"TickInMainWindowThenCancel",
                    {Step::ToMainWindow, Step::TickOutlook, Step::Cancel},
                    false,
                    false},
        SnapshotRow{
            "OkKeepsTheTicksAndTheNextShowSnapshotsThem",
            {Step::TickKelvo, Step::Ok, Step::ShowFromMenu, Step::TickOutlook, Step::Cancel},
            true,
            false},
        SnapshotRow{"CancelThenShowAgain",
                    {Step::TickKelvo, Step::Cancel, Step::ShowFromMenu, Step::Cancel},
                    false,
                    false}),
    testing::RowName{});

class OptionsLiveTest : public OptionsDialogFixture, public ::testing::Test {};

// The options are the controls: a change is in force at the next read, before OK.
TEST_F(OptionsLiveTest, ReadsFollowTheControlsAtOnce) {
  Open({{"Ports", "COM2", "/dev/serial/by-id/usb-Kelvo"}});
  dialog->RestorePortAndRange({0, 1});
  const Options& options = *dialog;
  Controls& c = *controls;
  EXPECT_EQ(options.PortIndex(), 0);
  EXPECT_EQ(options.PortPath(), QStringLiteral("/dev/ttyS0"));
  EXPECT_EQ(c.cbPortPath->currentText(), QStringLiteral("/dev/ttyS0"));
  c.cbCom->setCurrentIndex(1);
  EXPECT_EQ(options.PortPath(), QStringLiteral("/dev/serial/by-id/usb-Kelvo"));
  EXPECT_EQ(c.cbPortPath->currentText(), QStringLiteral("/dev/serial/by-id/usb-Kelvo"));
  c.cbPortPath->setEditText(QStringLiteral("/dev/pts/5"));
  EXPECT_EQ(options.PortPath(), QStringLiteral("/dev/pts/5"));
  c.cbCom->setCurrentIndex(-1);
  EXPECT_EQ(options.PortIndex(), -1);
  EXPECT_EQ(options.PortPath(), QString());
  EXPECT_FALSE(c.cbPortPath->isEnabled());
  c.cbCom->setCurrentIndex(1);
  EXPECT_EQ(options.PortPath(), QStringLiteral("/dev/pts/5"));

  EXPECT_TRUE(options.OstrelConv());
  c.chkDravoConv->click();
  EXPECT_TRUE(options.DravoConv());
  EXPECT_FALSE(options.OstrelConv());
  EXPECT_FALSE(options.RusConv());
  // A click on the selected button keeps it selected.
  c.chkDravoConv->click();
  EXPECT_TRUE(options.DravoConv());
  c.chkRusConv->click();
  EXPECT_EQ(c.Conversion(), "rus");

  c.cbDaysNum->setCurrentIndex(4);
  EXPECT_EQ(options.RangeIndex(), 4);
  c.chkOutlookRemove->click();
  EXPECT_TRUE(options.OutlookRemove());
  EXPECT_FALSE(options.KelvoRemove());
  c.cbMessagesSplit->setCurrentIndex(1);
  EXPECT_EQ(options.SplitModeIndex(), 1);
  c.edMaxNumSplit->setText(QStringLiteral(" 12 "));
  EXPECT_EQ(options.PartsText(), QStringLiteral(" 12 "));
  EXPECT_EQ(options.FullSync(), CheckState::Unchecked);
  dialog->SetFullSyncSource([] { return CheckState::Grayed; });
  EXPECT_EQ(options.FullSync(), CheckState::Grayed);

  c.edMailFolder->setText(QStringLiteral("~/Mail/work"));
  EXPECT_EQ(dialog->MailFolder(), QDir::homePath() + QStringLiteral("/Mail/work"));
  c.edMailFolder->setText(QStringLiteral(" /srv/mail "));
  EXPECT_EQ(dialog->MailFolder(), QStringLiteral("/srv/mail"));
  // Nothing of it reached the store.
  EXPECT_EQ(store.Values().size(), 1U);
}

TEST_F(OptionsLiveTest, SplitListEnablesThePartsBoxOnlyForItsLastEntry) {
  Open({});
  Controls& c = *controls;
  for (const int index : {2, 0, 2, 1, -1}) {
    c.cbMessagesSplit->setCurrentIndex(index);
    EXPECT_EQ(c.edMaxNumSplit->isEnabled(), index == 2) << index;
  }
}

TEST_F(OptionsLiveTest, ControlsAndCaptionsAreThoseTheProgramNames) {
  Open({});
  EXPECT_EQ(dialog->objectName(), QStringLiteral("frmOptions"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Zandor - Options"));
  EXPECT_FALSE(dialog->isModal());
  const struct {
    const char* name;
    const char* caption;
  } captions[] = {
      {"Label1", "Date Range"},
      {"Label2", "Serial COM Port"},
      {"fmRemovalSync", "Syncronize Message Removal"},
      {"chkKelvoRemove", "Remove messages deleted on Outlook from Kelvo also"},
      {"chkOutlookRemove", "Remove messages deleted on Kelvo from Outlook also"},
      {"Frame1", "Symbol Conversion"},
      {"chkOstrelConv", "Western Conversion"},
      {"chkRusConv", "Russian Conversion (for Ostrel's client)"},
      {"chkDravoConv", "Russian Conversion (For Dravo client)"},
      {"Frame2", "Messages split"},
      {"parts", "parts"},
      {"btnCancel", "&Cancel"},
      {"btnOK", "&OK"},
  };
  for (const auto& entry : captions) {
    const QObject* control = dialog->findChild<QObject*>(QString::fromUtf8(entry.name));
    ASSERT_NE(control, nullptr) << entry.name;
    QVariant text = control->property("text");
    if (!text.isValid()) text = control->property("title");
    EXPECT_EQ(text.toString(), QString::fromUtf8(entry.caption)) << entry.name;
  }
  const QComboBox* cbCom = Control<QComboBox>(*dialog, "cbCom");
  ASSERT_EQ(cbCom->count(), 4);
  EXPECT_EQ(cbCom->itemText(0), QStringLiteral("Com 1"));
  EXPECT_EQ(cbCom->itemText(3), QStringLiteral("Com 4"));
}

// Helpers of OK and Cancel at their boundaries.
TEST(OptionsHelpersTest, ListPositionsAndNumbers) {
  EXPECT_EQ(StoredListPosition(0, 4, 0), -1);
  EXPECT_EQ(StoredListPosition(1, 4, 0), 0);
  EXPECT_EQ(StoredListPosition(4, 4, 0), 3);
  EXPECT_EQ(StoredListPosition(5, 4, 0), 0);
  EXPECT_EQ(StoredListPosition(-1, 4, 7), 7);
  EXPECT_EQ(StoredListPosition(2.5, 4, 7), 1);  // 2.5 rounds to 2
  EXPECT_EQ(StoredListPosition(1e300, 4, 7), 7);
  EXPECT_EQ(DecimalText(13), QStringLiteral("13"));
  EXPECT_EQ(DecimalText(-4), QStringLiteral("-4"));
  EXPECT_EQ(DecimalText(3.5), QStringLiteral("3.5"));
  EXPECT_EQ(DecimalText(-0.0), QStringLiteral("0"));
  EXPECT_EQ(ClampedPartsText(QStringLiteral("32767")), QStringLiteral("999"));
  EXPECT_EQ(ClampedPartsText(QStringLiteral("-998.5")), QStringLiteral("998"));
  EXPECT_EQ(ClampedPartsText(QStringLiteral("0.5")), QStringLiteral("0"));
  EXPECT_EQ(ClampedPartsText(QStringLiteral("1.5")), QStringLiteral("2"));
}

}  // namespace
}  // namespace zandor
