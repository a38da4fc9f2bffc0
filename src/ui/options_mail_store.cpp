#include "ui/options_mail_store.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "store/maildir/maildir_store.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(OptionsMailStore)
};

// A field of the account with its label on the left.
void AddRow(QGridLayout* grid, const QString& text, QWidget* field, int at) {
  auto* label = new QLabel(text, grid->parentWidget());
  label->setBuddy(field);
  grid->addWidget(label, at, 0);
  grid->addWidget(field, at, 1);
}

}  // namespace

QGroupBox* MailStoreControls::BuildFolderFrame(QWidget* dialog) {
  dialog_ = dialog;
  fmMailStore_ = new QGroupBox(Text::tr("Mail &Folder"), dialog);
  fmMailStore_->setObjectName(QStringLiteral("fmMailStore"));
  edMailFolder_ = new QLineEdit(fmMailStore_);
  edMailFolder_->setObjectName(QStringLiteral("edMailFolder"));
  edMailFolder_->setToolTip(Text::tr("The Maildir that holds the mail to synchronise"));
  btnBrowseMail_ = new QPushButton(Text::tr("B&rowse..."), fmMailStore_);
  btnBrowseMail_->setObjectName(QStringLiteral("btnBrowseMail"));
  btnBrowseMail_->setAutoDefault(false);
  lblMailFolderWarning_ = new QLabel(fmMailStore_);
  lblMailFolderWarning_->setObjectName(QStringLiteral("lblMailFolderWarning"));
  lblMailFolderWarning_->setWordWrap(true);
  lblMailFolderWarning_->hide();
  auto* mailLayout = new QGridLayout(fmMailStore_);
  mailLayout->addWidget(edMailFolder_, 0, 0);
  mailLayout->addWidget(btnBrowseMail_, 0, 1);
  mailLayout->addWidget(lblMailFolderWarning_, 1, 0, 1, 2);
  mailLayout->setColumnStretch(0, 1);
  QObject::connect(btnBrowseMail_, &QPushButton::clicked, dialog, [this] { BrowseMailFolder(); });
  QObject::connect(edMailFolder_, &QLineEdit::textChanged, dialog,
                   [this] { UpdateMailFolderWarning(); });
  return fmMailStore_;
}

QWidget* MailStoreControls::BuildChoice(QWidget* dialog) {
  auto* choice = new QWidget(dialog);
  optMaildir_ = new QRadioButton(Text::tr("Maildir fo&lder"), choice);
  optMaildir_->setObjectName(QStringLiteral("optMaildir"));
  optImap_ = new QRadioButton(Text::tr("&IMAP account"), choice);
  optImap_->setObjectName(QStringLiteral("optImap"));
  auto* layout = new QHBoxLayout(choice);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(optMaildir_);
  layout->addWidget(optImap_);
  layout->addStretch(1);
  QObject::connect(optImap_, &QRadioButton::toggled, dialog, [this] { ShowChosenStore(); });
  return choice;
}

QGroupBox* MailStoreControls::BuildImapAccount(QWidget* dialog, PasswordReceiver given,
                                               std::function<void()> forget) {
  passwordGiven_ = std::move(given);
  forgetCertificate_ = std::move(forget);
  fmImapAccount_ = new QGroupBox(Text::tr("IMAP Account"), dialog);
  fmImapAccount_->setObjectName(QStringLiteral("fmImapAccount"));
  auto* grid = new QGridLayout(fmImapAccount_);
  edImapHost_ = new QLineEdit(fmImapAccount_);
  edImapHost_->setObjectName(QStringLiteral("edImapHost"));
  AddRow(grid, Text::tr("Server &name:"), edImapHost_, 0);
  edImapPort_ = new QLineEdit(fmImapAccount_);
  edImapPort_->setObjectName(QStringLiteral("edImapPort"));
  edImapPort_->setValidator(new QIntValidator(1, 65535, edImapPort_));
  //: The IMAP server's TCP port
  AddRow(grid, Text::tr("Port num&ber:"), edImapPort_, 1);
  cbImapSecurity_ = new QComboBox(fmImapAccount_);
  cbImapSecurity_->setObjectName(QStringLiteral("cbImapSecurity"));
  // In the order of ImapSecurity, and known by their position, never by their text.
  cbImapSecurity_->addItems({QStringLiteral("TLS"), QStringLiteral("STARTTLS"),
                             //: No encryption: fit only for a server on this computer
                             Text::tr("None (this computer only)")});
  //: The kind of connection to the IMAP server: TLS, STARTTLS or none
  AddRow(grid, Text::tr("Securit&y:"), cbImapSecurity_, 2);
  edImapUser_ = new QLineEdit(fmImapAccount_);
  edImapUser_->setObjectName(QStringLiteral("edImapUser"));
  AddRow(grid, Text::tr("&User name:"), edImapUser_, 3);
  btnImapPassword_ = new QPushButton(Text::tr("Password in keyrin&g..."), fmImapAccount_);
  btnImapPassword_->setObjectName(QStringLiteral("btnImapPassword"));
  btnImapPassword_->setAutoDefault(false);
  lblImapPassword_ = new QLabel(fmImapAccount_);
  lblImapPassword_->setObjectName(QStringLiteral("lblImapPassword"));
  lblImapPassword_->setWordWrap(true);
  grid->addWidget(btnImapPassword_, 4, 0);
  grid->addWidget(lblImapPassword_, 4, 1);
  //: The accelerator is in brackets: the letters of the text are taken in this dialog
  btnForgetCertificate_ = new QPushButton(Text::tr("Forget the certificate (&Z)"), fmImapAccount_);
  btnForgetCertificate_->setObjectName(QStringLiteral("btnForgetCertificate"));
  btnForgetCertificate_->setAutoDefault(false);
  lblImapCertificate_ = new QLabel(fmImapAccount_);
  lblImapCertificate_->setObjectName(QStringLiteral("lblImapCertificate"));
  lblImapCertificate_->setWordWrap(true);
  lblImapCertificate_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(btnForgetCertificate_, 5, 0);
  grid->addWidget(lblImapCertificate_, 5, 1);
  grid->setColumnStretch(1, 1);
  // The port field shows the default of the security chosen until one is typed.
  QObject::connect(cbImapSecurity_, &QComboBox::currentIndexChanged, dialog, [this](int index) {
    edImapPort_->setPlaceholderText(
        QString::number(DefaultImapPort(static_cast<ImapSecurity>(std::max(index, 0)))));
  });
  QObject::connect(btnImapPassword_, &QPushButton::clicked, dialog,
                   [this] { AskAndKeepPassword(); });
  QObject::connect(btnForgetCertificate_, &QPushButton::clicked, dialog, [this] {
    forgetCertificate_();
    imapStored_.certificateFingerprint.clear();
    ShowAccountState(imapStored_);
  });
  return fmImapAccount_;
}

std::vector<QWidget*> MailStoreControls::TabOrder() const {
  return {optMaildir_, optImap_,        edMailFolder_, btnBrowseMail_,   edImapHost_,
          edImapPort_, cbImapSecurity_, edImapUser_,   btnImapPassword_, btnForgetCertificate_};
}

void MailStoreControls::Restore(const StoredOptions& stored) {
  RestoreMailFolder(stored);
  RestoreImap(stored);
}

QString MailStoreControls::MailFolder() const {
  return MailFolderPath(edMailFolder_->text());
}

QString MailStoreControls::MailFolderText() const {
  return edMailFolder_->text();
}

StoreKind MailStoreControls::Chosen() const {
  return optImap_->isChecked() ? StoreKind::Imap : StoreKind::Maildir;
}

ImapOptions MailStoreControls::Imap() const {
  ImapOptions imap = imapStored_;
  imap.host = edImapHost_->text().trimmed();
  imap.port = edImapPort_->text().trimmed();
  imap.security = static_cast<ImapSecurity>(std::max(cbImapSecurity_->currentIndex(), 0));
  imap.user = edImapUser_->text().trimmed();
  return imap;
}

void MailStoreControls::ShowAccountState(const ImapOptions& stored) {
  const QString pinned = stored.certificateFingerprint.trimmed();
  if (pinned.isEmpty()) {
    lblImapCertificate_->setText(
        Text::tr("Certificate: checked against the authorities this computer trusts."));
  } else {
    //: %1 is the fingerprint, pairs of hexadecimal digits joined by colons
    lblImapCertificate_->setText(
        Text::tr("Certificate: trusted by its SHA-256 fingerprint %1.").arg(pinned));
  }
  btnForgetCertificate_->setEnabled(!pinned.isEmpty());
  const ImapOptions shown = Imap();
  if (stored.login == ImapLogin::XOAuth2) {
    //: PasswordCommand is the name of a line of the settings file
    lblImapPassword_->setText(Text::tr("Access token: from PasswordCommand at each login."));
  } else if (!stored.passwordCommand.trimmed().isEmpty()) {
    //: PasswordCommand is the name of a line of the settings file
    lblImapPassword_->setText(Text::tr("Password: from PasswordCommand."));
  } else if (shown.host.isEmpty() || shown.user.isEmpty()) {
    lblImapPassword_->setText(Text::tr("Password: not set."));
  } else {
    const KeyringRead kept = keyring_->Read(KeyringKey(shown));
    if (kept.password) {
      lblImapPassword_->setText(Text::tr("Password: in the keyring."));
    } else if (kept.available) {
      //: Sync is the main window's button
      lblImapPassword_->setText(Text::tr("Password: not set; it is asked for at Sync."));
    } else {
      lblImapPassword_->setText(
          Text::tr("Password: not set (no keyring is running); "
                   "it is asked for once each start."));
    }
  }
}

void MailStoreControls::FocusWhereTheMailIs() {
  QLineEdit* where = Chosen() == StoreKind::Imap ? edImapHost_ : edMailFolder_;
  where->setFocus();
  where->selectAll();
}

void MailStoreControls::ShowChosenStore() {
  const bool imap = optImap_->isChecked();
  fmMailStore_->setVisible(!imap);
  fmImapAccount_->setVisible(imap);
}

void MailStoreControls::RestoreMailFolder(const StoredOptions& stored) {
  // The default shows as text; OK leaves it unstored, so that it keeps
  // following the home folder.
  edMailFolder_->setText(stored.mailFolder.trimmed().isEmpty() ? MailFolderPath(QString())
                                                               : stored.mailFolder);
}

void MailStoreControls::RestoreImap(const StoredOptions& stored) {
  imapStored_ = stored.imap;
  edImapHost_->setText(stored.imap.host);
  edImapPort_->setText(ImapPort(stored.imap) == DefaultImapPort(stored.imap.security)
                           ? QString()
                           : QString::number(ImapPort(stored.imap)));
  cbImapSecurity_->setCurrentIndex(static_cast<int>(stored.imap.security));
  edImapPort_->setPlaceholderText(QString::number(DefaultImapPort(stored.imap.security)));
  edImapUser_->setText(stored.imap.user);
  lblImapPassword_->clear();
  (stored.storeKind == StoreKind::Imap ? optImap_ : optMaildir_)->setChecked(true);
  ShowChosenStore();
}

void MailStoreControls::BrowseMailFolder() {
  const QString chosen = chooseFolder_
                             ? chooseFolder_(dialog_, MailFolder())
                             : QFileDialog::getExistingDirectory(
                                   dialog_, Text::tr("Zandor - Mail Folder"), MailFolder());
  // Cancelled: the field keeps what it held.
  if (!chosen.isEmpty()) edMailFolder_->setText(chosen);
}

void MailStoreControls::UpdateMailFolderWarning() {
  // Only a warning: the folder may be mounted later, or filled by a mail program.
  const StoreStatus holds = MaildirStore::HoldsMail(MailFolder());
  lblMailFolderWarning_->setText(holds ? QString() : holds.reason());
  lblMailFolderWarning_->setVisible(!holds);
}

void MailStoreControls::AskAndKeepPassword() {
  const ImapOptions account = Imap();
  const std::optional<QString> password = askPassword_(dialog_, PasswordQuestion(account));
  if (!password) return;
  const std::optional<QString> why = keyring_->Write(KeyringKey(account), *password);
  //: %1 is why the keyring did not keep the password
  lblImapPassword_->setText(why ? Text::tr("Not kept in the keyring (%1): it is asked for "
                                           "at each start.")
                                      .arg(*why)
                                : Text::tr("Kept in the desktop keyring."));
  passwordGiven_(account, *password);
}

}  // namespace zandor
