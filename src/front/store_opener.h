#pragma once

#include <QLocale>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "front/password_source.h"
#include "session/clock.h"
#include "settings/stored_options.h"
#include "store/mail_store.h"

namespace zandor {

// The one door to the mail store, for the window and the run without one:
// the store the options choose, opened and logged in, or why not in words
// that say what to do.

// The store the options choose.
struct StoreChoice {
  StoreKind kind = StoreKind::Maildir;
  QString mailFolder;  // as typed or stored; "~" allowed
  ImapOptions imap;
  bool operator==(const StoreChoice&) const = default;
};
StoreChoice StoreChoiceOf(const StoredOptions& stored);

// Why no store was opened.
enum class Refusal {
  SettingsWrong,         // no mail folder there, no server named
  NoPassword,            // the password command, the keyring or the user gave none
  LoginRefused,          // the server refused the password or the access token
  CertificateUntrusted,  // the server's certificate is not trusted
  Unreachable,           // the server cannot be reached or used
  StateFolderUnusable,   // the folder that keeps the account's marks cannot be made
};

struct StoreRefusal {
  Refusal kind = Refusal::SettingsWrong;
  // The box: what is wrong and how to fix it from where the user is; empty
  // when the user knows already (a password dialog cancelled).
  QString text;
  // The store's own failure, when it gave one.
  std::optional<StoreFailure> failure;
};

// Where the user fixes a setting: under Options in the window, or in the
// settings file for a run without a window.
struct FixPlace {
  bool window = false;
  QString settingsFile;
};

// What the opener needs besides the choice; the defaults are the real ones.
struct StoreOpening {
  const Clock& clock;
  QLocale locale = QLocale::system();
  QString stateFolder = StateFolder();
  // A synchronisation follows the login: the store may open the connections
  // it reads ahead on beside its own (MailStore::ExpectRun).
  bool forRun = false;
  // The login: the window runs it off its thread and keeps drawing.
  std::function<StoreStatus(MailStore&, const ImapOptions&)> logIn = nullptr;
  // The server's certificate checked before a password is asked; the same.
  std::function<StoreStatus(const ImapOptions&)> reach = nullptr;
  // The stores themselves, for tests; nullptr for the real ones.
  std::function<std::unique_ptr<MailStore>(const QString& root)> makeMaildir = nullptr;
  std::function<std::unique_ptr<MailStore>(const ImapOptions&, const QString& password)> makeImap =
      nullptr;
};

struct OpenedStore {
  std::unique_ptr<MailStore> store;  // nullptr when refused
  std::optional<StoreRefusal> refusal;
};

// A Maildir store is opened when its folder exists. An IMAP store is logged
// in with a password from the source, asked again while the server refuses
// it, before anything reaches the Kelvo.
OpenedStore OpenStore(const StoreChoice& choice, PasswordSource& passwords,
                      const StoreOpening& opening, const FixPlace& place);

// The mail folder does not exist: what to do.
QString MissingMailFolderText(const QString& path, const FixPlace& place);

}  // namespace zandor
