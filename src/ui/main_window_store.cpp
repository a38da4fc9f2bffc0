#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>

#include "front/store_choice.h"
#include "settings/stored_options.h"
#include "sync/sync_driver.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/sync_status_bar.h"

// The window's store: opened through the one door, logged in without
// freezing, and the folder tree it fills.

namespace zandor {

void MainWindow::ShowFirstStartHintIfEmpty() {
  const bool imap = options_->ChosenStore() == StoreKind::Imap;
  hintButton_->setText(imap ? tr("Check the IMAP account...") : tr("Choose mail folder..."));
  if (imap) {
    QString text =
        tr("No mail folders to show yet. Check the IMAP account under Options, then tick the "
           "folders to synchronise.");
    if (storeRefusal_) {
      // Why the account cannot be read, with the button that mends it.
      text = storeRefusal_->text;
      text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
      switch (storeRefusal_->kind) {
        case Refusal::CertificateUntrusted:
          // The settings file's way to trust it is for runs without the window.
          if (storeRefusal_->failure && storeRefusal_->failure->certificate) {
            const UntrustedCertificate& certificate = *storeRefusal_->failure->certificate;
            //: %1 is the server's name, %2 why its certificate is not trusted
            text = tr("The certificate of %1 is not trusted: %2.\nSee it, and trust it if its "
                      "fingerprint is the one the server's keeper gives you.")
                       .arg(certificate.host, certificate.why);
          }
          hintButton_->setText(tr("Check the certificate..."));
          break;
        case Refusal::NoPassword:
        case Refusal::LoginRefused:
          if (text.isEmpty()) {
            //: %1 is the account, as user@server
            text = tr("No password was given for %1.").arg(StorePlace());
          }
          hintButton_->setText(tr("Enter the password..."));
          break;
        default:
          break;
      }
    }
    hintText_->setText(text);
    treeOrHint_->setCurrentIndex(tree_->topLevelItemCount() == 0 ? 1 : 0);
    return;
  }
  const QString folder = options_->MailFolder();
  QString text =
      tr("No mail folders to show yet. Choose the folder that holds your Maildir (often ~/Maildir "
         "or ~/Mail), then tick the folders to synchronise.");
  if (!QFileInfo(folder).isDir()) {
    //: %1 is the mail folder's path, %2 the text "No mail folders to show yet..."
    text = tr("The mail folder %1 does not exist yet. %2").arg(folder, text);
  }
  hintText_->setText(text);
  treeOrHint_->setCurrentIndex(tree_->topLevelItemCount() == 0 ? 1 : 0);
}

QString MainWindow::StorePlace() const {
  if (options_->ChosenStore() == StoreKind::Maildir) return options_->MailFolder();
  const ImapOptions account = options_->Imap();
  return QStringLiteral("%1@%2").arg(account.user, account.host);
}

StoreStatus MainWindow::WithoutFreezing(const QString& host,
                                        const std::function<StoreStatus()>& work) {
  // The server may take up to the session's timeout to answer.
  const QString note = statusBar_->Note();
  //: %1 is the IMAP server's name
  statusBar_->SetNote(tr("Connecting to %1...").arg(host));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  StoreStatus reached = Done{};
  RunAside([&work, &reached] { reached = work(); });
  QApplication::restoreOverrideCursor();
  statusBar_->SetNote(note);
  return reached;
}

SyncOptions MainWindow::CurrentOptions() const {
  SyncOptions options = options_->Current();
  options.excludedFolders = ExcludedFolders(settings_);
  // A run the plug-in started does only what Options agreed to beforehand.
  if (pluggedInRun_) {
    const PluggedInOptions agreed = options_->PluggedIn();
    options.fullSync = false;
    options.removeFromMail = agreed.removeFromMail;
    options.removeFromKelvo = agreed.removeFromKelvo;
  }
  return options;
}

StoreChoice MainWindow::ChosenStore() const {
  return {options_->ChosenStore(), options_->MailFolder(), options_->Imap()};
}

std::shared_ptr<MailStore> MainWindow::CurrentStore(bool report) {
  for (;;) {
    const StoreChoice choice = ChosenStore();
    if (store_ && storeChoice_ == choice) return store_;
    store_.reset();
    storeChoice_.reset();
    StoreOpening opening{clock_, locale_};
    opening.makeMaildir = storeFactory_;
    opening.makeImap = imapFactory_;
    opening.logIn = [this](MailStore& store, const ImapOptions& account) {
      return WithoutFreezing(account.host, [&store] { return store.CheckHoldsMail(); });
    };
    opening.reach = [this](const ImapOptions& account) {
      return WithoutFreezing(account.host, [this, &account] { return reachServer_(account); });
    };
    OpenedStore opened = OpenStore(choice, *passwords_, opening, FixPlace{true, {}});
    if (opened.store) {
      storeRefusal_.reset();
      store_ = std::move(opened.store);
      storeChoice_ = choice;
      return store_;
    }
    storeRefusal_ = opened.refusal;
    const StoreRefusal& refusal = *opened.refusal;
    const std::optional<UntrustedCertificate> certificate =
        refusal.failure ? refusal.failure->certificate : std::nullopt;
    if (refusal.kind == Refusal::CertificateUntrusted && certificate &&
        !certificate->fingerprint.isEmpty()) {
      // Asked only when the user set out to use the account; otherwise the
      // place of the tree says why, with the button that asks.
      if (!report || !boxes_->TrustCertificate(this, *certificate)) return nullptr;
      PinCertificate(settings_, certificate->fingerprint);
      if (options_->isVisible()) options_->ShowAccountState();
      continue;
    }
    // A password or token is what the user just gave, or a command's: said
    // at once. The place of the store was said already when it was chosen.
    const bool aboutThePassword =
        refusal.kind == Refusal::NoPassword || refusal.kind == Refusal::LoginRefused;
    if (!refusal.text.isEmpty() && (report || aboutThePassword)) ShowMessage(refusal.text);
    return nullptr;
  }
}

void MainWindow::MendStore() {
  const bool askAgain =
      storeRefusal_ && options_->ChosenStore() == StoreKind::Imap &&
      (storeRefusal_->kind == Refusal::CertificateUntrusted ||
       storeRefusal_->kind == Refusal::NoPassword || storeRefusal_->kind == Refusal::LoginRefused);
  if (!askAgain) {
    options_->ShowAtMailFolder();
    return;
  }
  if (syncRunning_ || startingRun_) return;
  // The certificate or the password is asked for at once.
  reportedMissingFolder_.clear();
  RebuildTree(true);
}

void MainWindow::RebuildTree(bool report) {
  const QString root = StorePlace();
  // A folder that is still missing was reported already; say it again only
  // when the user has chosen another one.
  const std::shared_ptr<MailStore> store = CurrentStore(report || root != reportedMissingFolder_);
  if (store == nullptr) {
    reportedMissingFolder_ = root;
    folderView_->Clear();
    ShowFirstStartHintIfEmpty();
    return;
  }
  reportedMissingFolder_.clear();
  RebuildFolderTree(*this, *store, settings_);
  ShowFirstStartHintIfEmpty();
}

}  // namespace zandor
