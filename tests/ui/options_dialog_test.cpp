// The options dialog: OK stores the controls as shown; Cancel restores the
// store the one way the headless run restores it, and the removal boxes as
// they were when the dialog last became active.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <array>

#include "settings/stored_options.h"
#include "ui/activation_history.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;

// What the phases read of the options, in one line.
QString Reads(const SyncOptions& o) {
  return QString::asprintf("port %d, range %d, mode %d, long %d, parts ", o.port, int(o.range),
                           int(o.mode), int(o.longMessages)) +
         o.parts + u", device "_s + o.portPath;
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  MemorySettingsStore settings;
  ActivationHistory history;
  OptionsDialog dialog{settings, history};
};

TEST_F(OptionsDialogTest, OkStoresTheControlsAndThePartsAsShown) {
  // What is typed in the parts box, the SplitNum stored (the number shown
  // plus 1) and what the box shows after OK.
  const char* const rows[][3] = {
      {"12", "13", "12"},       {"2.5", "3", "2"},         {"3.5", "5", "4"},
      {"-5", "6", "5"},         {"1500", "1000", "999"},   {"-1000", "1000", "999"},
      {"40000", "1000", "999"}, {"-32768", "1000", "999"}, {"abc", "1", "0"}};
  Control<QComboBox>(dialog, "cbCom")->setCurrentIndex(2);
  Control<QComboBox>(dialog, "cbDaysNum")->setCurrentIndex(4);
  Control<QComboBox>(dialog, "cbMessagesSplit")->setCurrentIndex(2);
  Control<QRadioButton>(dialog, "chkDravoConv")->click();
  Control<QCheckBox>(dialog, "chkKelvoRemove")->click();
  for (const auto& [typed, splitNum, shown] : rows) {
    SCOPED_TRACE(typed);
    dialog.show();
    Control<QLineEdit>(dialog, "edMaxNumSplit")->setText(QString::fromUtf8(typed));
    Control<QPushButton>(dialog, "btnOK")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Current().parts, QString::fromUtf8(shown));
    QString stored;
    for (const auto& [at, value] : settings.Values())
      stored += at.first + u'/' + at.second + u'=' + value + u' ';
    EXPECT_EQ(stored, QStringLiteral("Com/Port=3 Split/SplitMode=3 Split/SplitNum=%1 "
                                     "SymbolsConversion/DravoConversion=0 "
                                     "SymbolsConversion/RussianConversion=1 "
                                     "SymbolsConversion/WesternConversion=1 Sync/Days=5 ")
                          .arg(QString::fromUtf8(splitNum)));
    // The stored value reads back as the number shown.
    dialog.show();
    Control<QPushButton>(dialog, "btnCancel")->click();
    EXPECT_EQ(dialog.Current().parts, QString::fromUtf8(shown));
  }
  // Com 3 with its device field cleared falls back to its default device.
  Control<QComboBox>(dialog, "cbPortPath")->setEditText(QString());
  EXPECT_EQ(dialog.Current().portPath, u"/dev/ttyS2"_s);
}

// B&rowse... starts at the folder shown; a cancelled choice changes nothing.
TEST_F(OptionsDialogTest, BrowseKeepsTheFieldWhenCancelled) {
  auto* field = Control<QLineEdit>(dialog, "edMailFolder");
  field->setText(u"/srv/mail"_s);
  QStringList answers{QString(), u"/home/ann/Mail"_s};
  QString started;
  dialog.SetFolderChooser([&](QWidget*, const QString& start) {
    started = start;
    return answers.takeFirst();
  });
  for (const char* shown : {"/srv/mail", "/home/ann/Mail"}) {
    Control<QPushButton>(dialog, "btnBrowseMail")->click();
    EXPECT_EQ(std::pair(started, field->text()),
              std::pair(u"/srv/mail"_s, QString::fromUtf8(shown)));
  }
}

// A folder chosen that holds no Maildir is named under the field.
TEST_F(OptionsDialogTest, WarnsOfAMailFolderWithoutAMaildir) {
  QTemporaryDir home;
  auto* warning = Control<QLabel>(dialog, "lblMailFolderWarning");
  Control<QLineEdit>(dialog, "edMailFolder")->setText(home.path());
  EXPECT_TRUE(warning->text().contains(u"holds no Maildir"_s) && !warning->isHidden());
  // The Maildir below the folder chosen is named.
  for (const char* part : {"Maildir/cur", "Maildir/new", "Maildir/tmp"}) {
    QDir(home.path()).mkpath(QString::fromUtf8(part));
  }
  Control<QLineEdit>(dialog, "edMailFolder")->setText(home.path() + u'/');
  EXPECT_TRUE(warning->text().contains(home.filePath(u"Maildir holds one"_s)));
  Control<QLineEdit>(dialog, "edMailFolder")->setText(home.filePath(u"Maildir"_s));
  EXPECT_TRUE(warning->isHidden());
}

// The device field offers the ports the system lists, says what the chosen
// one is, and says so when it does not exist.
TEST_F(OptionsDialogTest, OffersTheSystemsPortsAndNamesAMissingOne) {
  dialog.SetPortLister([] {
    return std::vector<PortChoice>{{u"/dev/ttyK0"_s, u"Cradle (Acme)"_s}};
  });
  auto* device = Control<QComboBox>(dialog, "cbPortPath");
  EXPECT_EQ(device->itemText(0), u"/dev/ttyK0"_s);
  Control<QComboBox>(dialog, "cbCom")->setCurrentIndex(0);
  device->setEditText(u"/dev/ttyK0"_s);
  auto* info = Control<QLabel>(dialog, "lblPortInfo");
  EXPECT_EQ(info->text(), u"Cradle (Acme)"_s);
  device->setEditText(u"/no/ttyZ"_s);
  EXPECT_EQ(info->text(), u"/no/ttyZ does not exist on this machine"_s);
}

// At 2x scaling on a 1280x900 screen (640x450 logical), with room for the
// title bar, the whole dialog and its OK and Cancel fit.
TEST_F(OptionsDialogTest, FitsA640By450Screen) {
  dialog.show();
  const QSize needed = dialog.minimumSizeHint().expandedTo(dialog.minimumSize());
  EXPECT_LE(needed.width(), 640);
  EXPECT_LE(needed.height(), 450 - 40) << needed.height();
}

// A wheel turned over a list changes it only when the list has focus.
class WheelTest : public OptionsDialogTest, public ::testing::WithParamInterface<const char*> {};
TEST_P(WheelTest, TurnsAListOnlyWhenFocused) {
  auto* list = Control<QComboBox>(dialog, GetParam());
  list->setCurrentIndex(0);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  for (const bool focused : {false, true}) {
    if (focused) list->setFocus();
    QWheelEvent down(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &down);
    EXPECT_EQ(list->currentIndex(), focused ? 1 : 0) << focused;
  }
}
INSTANTIATE_TEST_SUITE_P(Lists, WheelTest,
                         ::testing::Values("cbDaysNum", "cbCom", "cbMessagesSplit"));

// Every control has an Alt+letter of its own: its text's, its label's or its frame's.
TEST_F(OptionsDialogTest, EveryControlHasAnAltLetterOfItsOwn) {
  QMap<QString, QWidget*> reaches;  // Alt+letter: the control it reaches
  const auto take = [&](QWidget* control, const QString& text) {
    const QString key = QKeySequence::mnemonic(text).toString();
    if (key.isEmpty() || control == nullptr) return;
    EXPECT_FALSE(reaches.contains(key)) << key.toStdString() << " twice";
    reaches[key] = control;
  };
  for (QLabel* label : dialog.findChildren<QLabel*>()) take(label->buddy(), label->text());
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) take(b, b->text());
  for (QGroupBox* g : dialog.findChildren<QGroupBox*>()) take(g->findChild<QWidget*>(), g->title());
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    const bool control = (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                          qobject_cast<QLineEdit*>(w)) &&
                         !qobject_cast<QComboBox*>(w->parent()) &&  // not a list's own field
                         !qobject_cast<QTabBar*>(w->parent());      // nor the tabs' arrows
    EXPECT_TRUE(!control || reaches.values().contains(w)) << w->objectName().toStdString();
  }
}

// Parts text that is no usable number shows, once editing ends, the number used.
TEST_F(OptionsDialogTest, ThePartsBoxShowsTheNumberUsedOnceEditingEnds) {
  auto* parts = Control<QLineEdit>(dialog, "edMaxNumSplit");
  Control<QComboBox>(dialog, "cbMessagesSplit")->setCurrentIndex(2);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  for (const auto& [typed, shown] : {std::pair("abc", "0"), {"-5", "5"}, {"12", "12"}}) {
    parts->setFocus();
    parts->setText(QString::fromUtf8(typed));
    Control<QComboBox>(dialog, "cbCom")->setFocus();
    EXPECT_EQ(dialog.Current().parts, QString::fromUtf8(shown)) << typed;
  }
}

// On the offscreen 800x600 screen it opens showing every option of each page
// and grows, rather than scroll, for a hint line that appears: no scroll bar,
// nothing cut off at the right.
TEST_F(OptionsDialogTest, ShowsEveryOptionUnscrolled) {
  QTemporaryDir home;
  for (const char* part : {"cur", "new", "tmp"}) QDir(home.path()).mkpath(QString::fromUtf8(part));
  auto* folder = Control<QLineEdit>(dialog, "edMailFolder");
  folder->setText(home.path());
  dialog.show();
  folder->setText(home.filePath(u"gone"_s));  // a warning line appears
  auto* tabs = Control<QTabWidget>(dialog, "tabsOptions");
  for (const char* page : {"scrollMail", "scrollKelvo", "scrollConversion"}) {
    auto* scroll = Control<QScrollArea>(dialog, page);
    tabs->setCurrentWidget(scroll);
    QCoreApplication::processEvents();  // the scroll bars follow the layout
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << page;
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << page;
  }
}

TEST_F(OptionsDialogTest, CancelPutsTheRemovalBoxesBackAsTheLastActivationFoundThem) {
  QWidget mainWindow;
  history.Watch(&mainWindow);
  mainWindow.show();
  auto* kelvo = Control<QCheckBox>(dialog, "chkKelvoRemove");
  auto* outlook = Control<QCheckBox>(dialog, "chkOutlookRemove");
  for (const bool kelvoBefore : {false, true}) {
    SCOPED_TRACE(kelvoBefore);
    QApplication::setActiveWindow(&mainWindow);  // as a click on it would
    kelvo->setChecked(kelvoBefore);  // as the main window's load or a sync could leave it
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    kelvo->click();
    outlook->click();
    Control<QPushButton>(dialog, "btnCancel")->click();
    EXPECT_EQ(kelvo->isChecked(), kelvoBefore);
    EXPECT_FALSE(outlook->isChecked());
  }
}

// Stored settings, hand-edited ones and ones that restore as no choice among
// them: Cancel, after every control was changed, leaves the dialog reading
// exactly what the stored options give the headless run. (The load restores
// the same way; FirstStartStoresCom1AndTheLastSevenDays checks its port and range.)
class RestoreAgreementTest : public WindowRig {};

TEST_F(RestoreAgreementTest, CancelRestoresWhatTheHeadlessRunRestores) {
  const char* const keys[] = {"Com/Port",
                              "Sync/Days",
                              "Split/SplitMode",
                              "Split/SplitNum",
                              "SymbolsConversion/RussianConversion",
                              "SymbolsConversion/DravoConversion",
                              "SymbolsConversion/WesternConversion"};
  // One value a row for each key, in the order above; null: absent.
  const std::array<const char*, 7> rows[] = {
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {"0", "0", "0", "abc", nullptr, nullptr, "1"},
      {"3.5", "1.5", "3", "2.5", "0", nullptr, "1"},
      {" 2 ", "9", "-1", "-0.5", "1", "0", "1"},
      {"5", "5", "2", "0.4", "0", "0", nullptr}};
  Load();
  OptionsDialog& dialog = window->Options();
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0] ? row[0] : "(absent)");
    for (std::size_t i = 0; i < std::size(keys); ++i) {
      const QStringList at = QString::fromUtf8(keys[i]).split(u'/');
      settings.Delete(at[0], at[1]);
      if (row[i] != nullptr) settings.Write(at[0], at[1], QString::fromUtf8(row[i]));
    }
    Control<QComboBox>(dialog, "cbCom")->setCurrentIndex(2);
    Control<QComboBox>(dialog, "cbDaysNum")->setCurrentIndex(0);
    Control<QComboBox>(dialog, "cbMessagesSplit")->setCurrentIndex(1);
    Control<QRadioButton>(dialog, row[5] ? "chkRusConv" : "chkDravoConv")->click();
    Control<QLineEdit>(dialog, "edMaxNumSplit")->setText(u"123"_s);
    dialog.show();
    Control<QPushButton>(dialog, "btnCancel")->click();
    EXPECT_EQ(Reads(dialog.Current()), Reads(SyncOptionsOf(ReadStoredOptions(settings))));
  }
}

// IMAP shows the account in place of the folder; OK stores it without a
// password, keeping a key added to the file meanwhile, Cancel brings back
// what is stored; Password... keeps what is typed in the keyring.
TEST_F(OptionsDialogTest, ImapAccountStoredRestoredAndItsPasswordKept) {
  MemoryKeyring keyring;
  dialog.SetPasswordKeeping(keyring, [](QWidget*, const QString&) { return u"pw"_s; });
  dialog.show();
  Control<QRadioButton>(dialog, "optImap")->click();
  EXPECT_TRUE(Control<QGroupBox>(dialog, "fmImapAccount")->isVisible());
  EXPECT_FALSE(Control<QGroupBox>(dialog, "fmMailStore")->isVisible());
  Control<QLineEdit>(dialog, "edImapHost")->setText(u"mail.example.org"_s);
  Control<QLineEdit>(dialog, "edImapUser")->setText(u"ann"_s);
  Control<QComboBox>(dialog, "cbImapSecurity")->setCurrentIndex(1);
  EXPECT_EQ(Control<QLineEdit>(dialog, "edImapPort")->placeholderText(), u"143"_s);
  Control<QPushButton>(dialog, "btnImapPassword")->click();
  EXPECT_EQ(keyring.kept, (std::map<QString, QString>{{u"imap:ann@mail.example.org"_s, u"pw"_s}}));
  settings.Write(u"Imap"_s, u"CertificateFingerprint"_s, u"AB:CD"_s);  // by hand, meanwhile
  Control<QPushButton>(dialog, "btnOK")->click();
  QString stored;
  for (const auto& [at, value] : settings.Values())
    if (at.first == u"Imap" || at.first == u"Store") stored += at.second + u'=' + value + u' ';
  EXPECT_EQ(
      stored,
      u"CertificateFingerprint=AB:CD Host=mail.example.org Security=starttls User=ann Kind=imap "_s);
  dialog.show();
  Control<QLineEdit>(dialog, "edImapHost")->setText(u"other"_s);
  Control<QRadioButton>(dialog, "optMaildir")->click();
  Control<QPushButton>(dialog, "btnCancel")->click();
  EXPECT_EQ(std::pair(dialog.ChosenStore(), dialog.Imap().host),
            std::pair(StoreKind::Imap, u"mail.example.org"_s));
}

}  // namespace
}  // namespace zandor::testing
