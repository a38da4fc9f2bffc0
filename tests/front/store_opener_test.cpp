// The one door to the store: what each front end gets for each way a store
// can be missing, and the password asked of its source while the server
// refuses it.

#include "front/store_opener.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/memory_keyring.h"
#include "support/sync_rig.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;

enum class Server { Takes, Gone, Untrusted };

// A server that takes one password, or none at all.
class ScriptedServer final : public MailStore {
 public:
  ScriptedServer(Server server, QString password, QString taken)
      : server_(server), password_(std::move(password)), taken_(std::move(taken)) {}
  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder) override { return Failure(); }
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef&) override { return Failure(); }
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef&) override {
    return Failure();
  }
  std::unique_ptr<NewMailItem> CreateItem() override { return nullptr; }
  StoreStatus CheckHoldsMail() override {
    if (server_ == Server::Gone) return StoreFailure{FailureKind::Gone, u"no route to host"_s};
    if (server_ == Server::Untrusted) {
      return StoreFailure{FailureKind::Gone, u"the certificate is not trusted"_s,
                          UntrustedCertificate{
                              u"mail.example.org"_s, u"expired"_s, u"AB:CD"_s, {}, {}, {}, {}, {}}};
    }
    if (password_ == taken_) return Done{};
    return StoreFailure{FailureKind::Refused, u"Authentication failed"_s};
  }

 private:
  static StoreFailure Failure() { return {FailureKind::Store, u"not here"_s}; }
  Server server_;
  QString password_, taken_;
};

struct OpenRow {
  const char* name;
  StoreKind kind;
  const char* host = "mail.example.org";  // for a Maildir: "" when its folder is not there
  const char* command = "";               // the password command
  const char* kept = nullptr;             // the keyring's password
  bool xoauth2 = false;
  Server server = Server::Takes;        // takes "right"
  const char* stateFolder = "ok";       // "" for none
  std::optional<Refusal> refusal = {};  // nullopt: opened
  const char* told = "";                // part of the box
};

class StoreOpenerTest : public ::testing::TestWithParam<std::tuple<OpenRow, bool>> {};

TEST_P(StoreOpenerTest, OpensOrSaysWhyInTheWordsOfTheFrontEnd) {
  const auto& [row, window] = GetParam();
  QTemporaryDir dir;
  const FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 0))};
  StoreChoice choice{row.kind, dir.path(), {}};
  if (row.kind == StoreKind::Maildir && QString::fromLatin1(row.host).isEmpty())
    choice.mailFolder = dir.filePath(u"missing"_s);
  choice.imap.host = QString::fromLatin1(row.host);
  choice.imap.user = u"ann"_s;
  choice.imap.passwordCommand = QString::fromLatin1(row.command);
  if (row.xoauth2) choice.imap.login = ImapLogin::XOAuth2;
  MemoryKeyring keyring;
  if (row.kept) keyring.kept[KeyringKey(choice.imap)] = QString::fromLatin1(row.kept);
  StoredPasswords passwords(keyring);
  StoreOpening opening{clock};
  opening.stateFolder = *row.stateFolder ? dir.filePath(u"state"_s) : QString();
  QStringList given;
  opening.makeImap = [&](const ImapOptions&, const QString& password) {
    given << password;
    return std::make_unique<ScriptedServer>(row.server, password, u"right"_s);
  };
  const QString settingsFile = u"/home/ann/.config/Zandor/Zandor.ini"_s;
  const OpenedStore opened = OpenStore(choice, passwords, opening, FixPlace{window, settingsFile});

  EXPECT_EQ(opened.store == nullptr, row.refusal.has_value());
  EXPECT_EQ(opened.refusal.has_value(), row.refusal.has_value());
  if (!opened.refusal || !row.refusal) return;
  EXPECT_EQ(opened.refusal->kind, *row.refusal);
  const QString& text = opened.refusal->text;
  EXPECT_TRUE(text.contains(QString::fromLatin1(row.told))) << text.toStdString();
  // The window names Options (or the file's name), a run without it the file.
  EXPECT_EQ(text.contains(settingsFile), !window && *row.refusal != Refusal::StateFolderUnusable)
      << text.toStdString();
  // A refused password is not tried again: the command would give it again.
  EXPECT_LE(given.size(), 1);
  EXPECT_EQ(opened.refusal->failure.has_value() && opened.refusal->failure->certificate,
            row.server == Server::Untrusted);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, StoreOpenerTest, ::testing::Combine(::testing::Values(
    OpenRow{"Maildir", StoreKind::Maildir},
    OpenRow{"MaildirMissing", StoreKind::Maildir, "", "", nullptr, false, Server::Takes, "ok",
            Refusal::SettingsWrong, "does not exist"},
    OpenRow{"NoServer", StoreKind::Imap, "  ", "echo right", nullptr, false, Server::Takes, "ok",
            Refusal::SettingsWrong, "No IMAP server is set"},
    OpenRow{"NoStateFolder", StoreKind::Imap, "mail.example.org", "echo right", nullptr, false,
            Server::Takes, "", Refusal::StateFolderUnusable, "There is no home folder to keep what was sent"},
    OpenRow{"CommandTaken", StoreKind::Imap, "mail.example.org", "echo right"},
    OpenRow{"KeyringTaken", StoreKind::Imap, "mail.example.org", "", "right"},
    OpenRow{"NeitherCommandNorKeyring", StoreKind::Imap, "mail.example.org", "", nullptr, false,
            Server::Takes, "ok", Refusal::NoPassword, "the desktop keyring holds no password"},
    OpenRow{"CommandFails", StoreKind::Imap, "mail.example.org", "exit 3", "right", false,
            Server::Takes, "ok", Refusal::NoPassword, "could not be read"},
    OpenRow{"Refused", StoreKind::Imap, "mail.example.org", "echo wrong", nullptr, false,
            Server::Takes, "ok", Refusal::LoginRefused, "refused the password (Authentication"},
    OpenRow{"TokenWithoutCommand", StoreKind::Imap, "mail.example.org", "", "right", true,
            Server::Takes, "ok", Refusal::NoPassword, "needs a command that prints one"},
    OpenRow{"TokenRefused", StoreKind::Imap, "mail.example.org", "echo expired", nullptr, true,
            Server::Takes, "ok", Refusal::LoginRefused, "refused the access token"},
    OpenRow{"Unreachable", StoreKind::Imap, "mail.example.org", "echo right", nullptr, false,
            Server::Gone, "ok", Refusal::Unreachable, "cannot be used: no route to host"},
    OpenRow{"Untrusted", StoreKind::Imap, "mail.example.org", "echo right", nullptr, false,
            Server::Untrusted, "ok", Refusal::CertificateUntrusted, "is not trusted"}),
    ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<OpenRow, bool>>& row) {
      return std::string(std::get<0>(row.param).name) +
             (std::get<1>(row.param) ? "InTheWindow" : "WithoutIt");
    });
// clang-format on

}  // namespace
}  // namespace zandor::testing
