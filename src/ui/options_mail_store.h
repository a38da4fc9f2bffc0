#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "settings/stored_options.h"
#include "ui/password_dialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zandor {

// Asks the user for a folder, starting at the one given; empty when cancelled.
using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;
// Told of a password that Password... was given for the account.
using PasswordReceiver = std::function<void(const ImapOptions& account, const QString& password)>;

// The options dialog's mail store: the choice of a Maildir folder or an IMAP
// account, and the frame of the one chosen. The controls belong to the
// dialog, which also carries their connections; the [Imap] keys no control
// shows are kept here as stored.
class MailStoreControls {
 public:
  MailStoreControls() = default;
  MailStoreControls(const MailStoreControls&) = delete;
  MailStoreControls& operator=(const MailStoreControls&) = delete;

  // The three parts, each created as the dialog reaches it.
  QGroupBox* BuildFolderFrame(QWidget* dialog);
  QWidget* BuildChoice(QWidget* dialog);
  // forget: the user asked to stop trusting the certificate trusted by its
  // fingerprint.
  QGroupBox* BuildImapAccount(QWidget* dialog, PasswordReceiver given,
                              std::function<void()> forget);
  std::vector<QWidget*> TabOrder() const;

  void SetFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }
  void SetPasswordKeeping(PasswordKeyring& keyring, PasswordAsker ask) {
    keyring_ = &keyring;
    askPassword_ = std::move(ask);
  }

  // The mail folder and the account as stored.
  void Restore(const StoredOptions& stored);
  // OK stored the account: its hidden keys are these from now on.
  void Stored(const ImapOptions& imap) { imapStored_ = imap; }

  // The mail folder as typed, a leading "~" read as the home folder; the
  // default ~/Maildir when the box is empty.
  QString MailFolder() const;
  // The folder box as typed.
  QString MailFolderText() const;
  StoreKind Chosen() const;
  ImapOptions Imap() const;

  // Says where the account's password comes from and which certificate is
  // trusted, as the settings and the keyring hold them now.
  void ShowAccountState(const ImapOptions& stored);

  // Puts the focus in the field that says where the mail is: the folder, or
  // the account's server.
  void FocusWhereTheMailIs();

 private:
  void ShowChosenStore();
  void RestoreMailFolder(const StoredOptions& stored);
  void RestoreImap(const StoredOptions& stored);
  void BrowseMailFolder();
  // Shows under the field why the folder chosen holds no mail, if it does not.
  void UpdateMailFolderWarning();
  void AskAndKeepPassword();

  QWidget* dialog_ = nullptr;  // the parent of the boxes it opens
  QGroupBox* fmMailStore_ = nullptr;
  QLineEdit* edMailFolder_ = nullptr;
  QPushButton* btnBrowseMail_ = nullptr;
  QLabel* lblMailFolderWarning_ = nullptr;
  QRadioButton* optMaildir_ = nullptr;
  QRadioButton* optImap_ = nullptr;
  QGroupBox* fmImapAccount_ = nullptr;
  QLineEdit* edImapHost_ = nullptr;
  QLineEdit* edImapPort_ = nullptr;
  QComboBox* cbImapSecurity_ = nullptr;
  QLineEdit* edImapUser_ = nullptr;
  QPushButton* btnImapPassword_ = nullptr;
  QLabel* lblImapPassword_ = nullptr;
  QPushButton* btnForgetCertificate_ = nullptr;
  QLabel* lblImapCertificate_ = nullptr;

  FolderChooser chooseFolder_;
  // The [Imap] keys no control shows, kept as stored.
  ImapOptions imapStored_;
  DesktopKeyring desktopKeyring_;
  PasswordKeyring* keyring_ = &desktopKeyring_;
  PasswordAsker askPassword_ = AskPassword;
  PasswordReceiver passwordGiven_;
  std::function<void()> forgetCertificate_;
};

}  // namespace zandor
