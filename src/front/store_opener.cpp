#include "front/store_opener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "front/store_choice.h"
#include "settings/qsettings_store.h"
#include "store/maildir/maildir_store.h"
#include "store/private_files.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(StoreOpener)
};

// Multi-line texts join their lines with a line feed, then a carriage return.
const QString kLineBreak = QStringLiteral("\n\r");

QString Setting(const char* key) {
  return SettingName(QString::fromLatin1(key));
}

// "then press Sync again" in the window, "then run again" without it.
QString Again(const FixPlace& place) {
  return place.window ? Text::tr("then press Sync again.") : Text::tr("then run again.");
}

QString NoServerText(const FixPlace& place) {
  return Text::tr("No IMAP server is set.") + kLineBreak +
         (place.window ? Text::tr("Set the server of the IMAP account under Options, ")
                       : Text::tr("Set %1 in %2, ").arg(Setting("Host"), place.settingsFile)) +
         Again(place);
}

// Settings the window does not show are named by the file's name there.
QString SettingsFileName(const FixPlace& place) {
  return place.window ? QStringLiteral("Zandor.ini") : place.settingsFile;
}

// An access token is had only from the command, wherever the run started.
QString TokenFix(const FixPlace& place) {
  return Text::tr(
             "Set PasswordCommand under [Imap] in %1 to a command that prints a fresh access "
             "token (see the README), or remove Login=xoauth2 to log in with a password.")
      .arg(SettingsFileName(place));
}

QString NoPasswordText(const ImapOptions& account, const QString& why, const FixPlace& place) {
  if (account.login == ImapLogin::XOAuth2) {
    const QString first =
        account.passwordCommand.trimmed().isEmpty()
            ? Text::tr("Logging in with an access token needs a command that prints one.")
            : Text::tr("No access token could be had: %1.").arg(why);
    return first + kLineBreak + TokenFix(place);
  }
  return Text::tr("The IMAP password could not be read: %1.").arg(why) + kLineBreak +
         Text::tr(
             "Set %1 in %2 to a command that prints it (for example: pass show mail/work), or "
             "keep the password in the desktop keyring from the window, ")
             .arg(Setting("PasswordCommand"), SettingsFileName(place)) +
         Again(place);
}

QString RefusedText(const ImapOptions& account, const QString& reason, const FixPlace& place) {
  if (account.login == ImapLogin::XOAuth2) {
    return Text::tr("The IMAP server refused the access token.") + kLineBreak + TokenFix(place);
  }
  return Text::tr("The IMAP server refused the password (%1).").arg(reason) + kLineBreak +
         (place.window
              ? Text::tr("Check the user under Options, ")
              : Text::tr("Check %1 and %2 in %3, ")
                    .arg(Setting("User"), Setting("PasswordCommand"), place.settingsFile)) +
         Again(place);
}

QString UnusableText(const QString& reason, const FixPlace& place) {
  return Text::tr("The IMAP server cannot be used: %1.").arg(reason) + kLineBreak +
         (place.window ? Text::tr("Check the IMAP account under Options, ")
                       : Text::tr("Check %1, Port, Security, CertificateFile and "
                                  "CertificateFingerprint in %2, ")
                             .arg(Setting("Host"), place.settingsFile)) +
         Again(place);
}

QString StateFolderText(const QString& folder, const QString& why) {
  return Text::tr(
             "The folder that keeps what was sent to the Kelvo, %1, cannot be used: "
             "%2.")
             .arg(folder, why) +
         kLineBreak +
         Text::tr("Set HOME or XDG_STATE_HOME to a folder you can write, then try again.");
}

std::optional<StoreRefusal> CheckStateFolder(const QString& folder) {
  if (folder.isEmpty()) {
    return StoreRefusal{Refusal::StateFolderUnusable,
                        NoHomeFolderText(Text::tr("what was sent to the Kelvo"),
                                         Text::tr(" ($XDG_STATE_HOME/zandor, by default "
                                                  "~/.local/state/zandor)"),
                                         QStringLiteral("XDG_STATE_HOME")),
                        std::nullopt};
  }
  if (!MakePrivateFolder(folder) || !QFileInfo(folder).isWritable()) {
    return StoreRefusal{Refusal::StateFolderUnusable,
                        StateFolderText(folder, Text::tr("it cannot be created or written")),
                        std::nullopt};
  }
  return std::nullopt;
}

// "[Imap] Port in /home/ann/.config/Zandor/Zandor.ini is "70000": ..."
QString WrongSettingText(const WrongSetting& wrong, const FixPlace& place) {
  const QString where = place.window ? QString() : Text::tr(" in %1").arg(place.settingsFile);
  return Text::tr("%1%2 is \"%3\", which cannot be used: it may be %4.")
             .arg(Setting(wrong.key), where, wrong.value, wrong.allowed) +
         kLineBreak +
         (place.window ? Text::tr("Correct it under Options, ") : Text::tr("Correct it there, ")) +
         Again(place);
}

OpenedStore Refused(Refusal kind, QString text, std::optional<StoreFailure> failure = {}) {
  return {nullptr, StoreRefusal{kind, std::move(text), std::move(failure)}};
}

OpenedStore Unusable(const StoreFailure& failure, const FixPlace& place) {
  return Refused(failure.certificate ? Refusal::CertificateUntrusted : Refusal::Unreachable,
                 UnusableText(failure.reason, place), failure);
}

OpenedStore OpenImap(const ImapOptions& account, PasswordSource& passwords,
                     const StoreOpening& opening, const FixPlace& place) {
  if (account.host.trimmed().isEmpty()) return Refused(Refusal::SettingsWrong, NoServerText(place));
  if (const std::optional<WrongSetting> wrong = WrongImapSetting(account)) {
    return Refused(Refusal::SettingsWrong, WrongSettingText(*wrong, place));
  }
  if (std::optional<StoreRefusal> unusable = CheckStateFolder(opening.stateFolder)) {
    return {nullptr, std::move(unusable)};
  }
  // A password is typed only for a server whose certificate is trusted.
  if (account.security != ImapSecurity::None && passwords.WouldAsk(account)) {
    const StoreStatus reached = opening.reach ? opening.reach(account) : ReachImapServer(account);
    if (!reached) return Unusable(reached.failure(), place);
  }
  std::optional<StoreFailure> refusedBy;
  for (;;) {
    PasswordAnswer answer = passwords.Password(account, refusedBy.has_value());
    if (const auto* lacking = std::get_if<PasswordLacking>(&answer)) {
      const Refusal kind = refusedBy ? Refusal::LoginRefused : Refusal::NoPassword;
      if (lacking->cancelled) return Refused(kind, QString(), refusedBy);
      return Refused(kind,
                     refusedBy ? RefusedText(account, refusedBy->reason, place)
                               : NoPasswordText(account, lacking->why, place),
                     refusedBy);
    }
    const QString& password = std::get<QString>(answer);
    std::unique_ptr<MailStore> store =
        opening.makeImap
            ? opening.makeImap(account, password)
            : MakeImapStore(account, password, opening.stateFolder, opening.locale, opening.clock);
    if (opening.forRun) store->ExpectRun();
    const StoreStatus reached =
        opening.logIn ? opening.logIn(*store, account) : store->CheckHoldsMail();
    if (reached) {
      passwords.Taken(account, password);
      return {std::move(store), std::nullopt};
    }
    if (reached.kind() != FailureKind::Refused) return Unusable(reached.failure(), place);
    refusedBy = reached.failure();
  }
}

}  // namespace

StoreChoice StoreChoiceOf(const StoredOptions& stored) {
  return {stored.storeKind, stored.mailFolder, stored.imap};
}

QString MissingMailFolderText(const QString& path, const FixPlace& place) {
  return Text::tr("The mail folder %1 does not exist.").arg(path) + kLineBreak +
         (place.window
              ? Text::tr("Choose your Maildir under Options, Mail Folder, or create it, ")
              : Text::tr("Choose your Maildir under Options, Mail Folder (or set Maildir in "
                         "section [Store] of %1), or create it, ")
                    .arg(place.settingsFile)) +
         Again(place);
}

OpenedStore OpenStore(const StoreChoice& choice, PasswordSource& passwords,
                      const StoreOpening& opening, const FixPlace& place) {
  if (choice.kind == StoreKind::Imap) return OpenImap(choice.imap, passwords, opening, place);
  const QString root = MailFolderPath(choice.mailFolder);
  if (!QFileInfo(root).isDir()) {
    return Refused(Refusal::SettingsWrong, MissingMailFolderText(root, place));
  }
  if (opening.makeMaildir) return {opening.makeMaildir(root), std::nullopt};
  return {std::make_unique<MaildirStore>(root, opening.locale, opening.clock), std::nullopt};
}

}  // namespace zandor
