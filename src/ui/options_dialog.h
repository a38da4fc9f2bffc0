#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include "settings/settings_store.h"
#include "settings/stored_options.h"
#include "settings/sync_options.h"
#include "ui/options_mail_store.h"
#include "ui/options_message_frames.h"
#include "ui/options_plugged_in.h"
#include "ui/options_range_and_port.h"
#include "ui/password_dialog.h"

class QLayout;
class QPushButton;
class QTabWidget;

namespace zandor {

class ActivationHistory;

// frmOptions, "Zandor - Options": the date range, the port, the removal
// boxes, the conversion mode and the treatment of long messages. Its controls
// are the live option values: every read of Current returns what the dialog
// shows at that moment, so a change is in force before OK. List positions and
// widget names stay here; the rest of the program sees SyncOptions. OK makes the values
// persistent, Cancel re-reads them from the store (and the removal boxes from
// the snapshot taken when the dialog last became active). It is created once,
// hidden, and only ever hidden again, never destroyed before the main window.
//
// Beside the port list it shows the device path of the chosen entry (section
// Ports, COM1..COM4), and below the frames the mail folder (section Store, key
// Maildir); OK stores both, Cancel restores both. The mail is in that folder
// or on an IMAP account (section Imap), whose server, port, security and user
// are shown in place of the folder; Password... keeps the account's password
// in the desktop keyring, never in the settings.
//
// Every control has an Alt+letter of its own; a list takes the wheel only
// when it has focus. It opens as large as its options need, within the
// screen, and grows when a hint line appears; past the screen they scroll.
class OptionsDialog final : public QDialog {
  Q_OBJECT

 public:
  // Runs the load steps at once. The dialog watches its own activations
  // through history, which must outlive it.
  OptionsDialog(SettingsStore& settings, ActivationHistory& history, QWidget* parent = nullptr);

  // The serial ports the device field offers; the system's by default.
  void SetPortLister(PortLister lister) { rangeAndPort_.SetPortLister(std::move(lister)); }
  // How B&rowse... asks for the mail folder; a QFileDialog by default.
  void SetFolderChooser(FolderChooser chooser) { mailStore_.SetFolderChooser(std::move(chooser)); }
  // Shows the dialog with the mail folder field ready for typing.
  void ShowAtMailFolder();

  // The options as the controls show them now. chkFullSync lives on the main
  // window: it is read through the source the window gives.
  SyncOptions Current() const;
  void SetFullSyncSource(std::function<bool()> source) { fullSyncSource_ = std::move(source); }

  // The mail folder as typed, a leading "~" read as the home folder; the
  // default ~/Maildir when the box is empty.
  QString MailFolder() const;

  // The store chosen now, and the account as the controls show it (with the
  // password command and certificate file as stored).
  StoreKind ChosenStore() const;
  ImapOptions Imap() const;
  // Where Password... keeps what it asks for; the desktop's by default.
  void SetPasswordKeeping(PasswordKeyring& keyring, PasswordAsker ask) {
    mailStore_.SetPasswordKeeping(keyring, std::move(ask));
  }

  // Says where the account's password comes from and which certificate is
  // trusted, as the settings and the keyring hold them now.
  void ShowAccountState();
  // "When the Kelvo is plugged in" as the dialog shows it now.
  PluggedInOptions PluggedIn() const { return pluggedIn_.Chosen(); }
  // How OK switches the watcher on and off when the first tick changes.
  void SetWatcherSwitch(std::function<void(bool on)> turn) { turnWatcher_ = std::move(turn); }

  // The main window's load: selects the port and the range stored.
  void RestorePortAndRange(const StoredOptions& stored);

  // The controls show the stored options again, as the settings file now
  // holds them (the removal boxes, never stored, are left as they are).
  void RestoreStored();

  // btnOK and btnCancel.
  void Ok();
  void Cancel();

 Q_SIGNALS:
  // Password... was given a password for the account.
  void PasswordGiven(const ImapOptions& account, const QString& password);

 protected:
  // The title bar's close acts as Cancel; so does Escape (reject).
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildButtons();
  // Places the controls on three tabs, the buttons below: Mail (the store
  // choice, the mail folder frame, the account), Kelvo (range, port and the
  // removal frame, the first message frame) and Conversion (the other two).
  void LayOut(const std::vector<QWidget*>& messageFrames, QWidget* mailFolder);
  // A tab holding the top layout (if any) and the frames one below the
  // other, in a scroll area of that name; returns the scroll area.
  QWidget* AddPage(const QString& title, const QString& name, QLayout* top,
                   const std::vector<QWidget*>& frames);
  void SetTabOrder();
  // The lists take no value from a wheel turned over them unless focused.
  void IgnoreWheelWhenUnfocused();
  int ScrollBarWidth() const;
  // The size that shows every option unscrolled, within the screen.
  QSize OpeningSize() const;
  void FitContents();
  void Load();
  void OnActivated(QWidget* window, QWidget* previous);

  SettingsStore& settings_;
  std::function<bool()> fullSyncSource_;

  RangeAndPortControls rangeAndPort_;
  RemovalFrame removal_;
  PluggedInFrame pluggedIn_;
  std::function<void(bool on)> turnWatcher_;
  ConversionFrame conversion_;
  LongMessagesFrame longMessages_;
  MailStoreControls mailStore_;

  QTabWidget* tabs_ = nullptr;
  std::vector<QWidget*> pages_;  // each inside its tab's scroll area
  QWidget* mailTab_ = nullptr;
  bool opened_ = false;
  QPushButton* btnCancel_ = nullptr;
  QPushButton* btnOK_ = nullptr;
};

}  // namespace zandor
