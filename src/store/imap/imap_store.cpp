#include "store/imap/imap_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstring>

#include "store/imap/imap_core.h"
#include "store/imap/imap_item.h"
#include "store/imap/imap_items.h"
#include "store/imap/imap_lookahead.h"
#include "store/mutf7.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(ImapStore)
};

}  // namespace

namespace imap {
namespace {

FolderRef RefOf(const QString& name, QChar delimiter) {
  if (name == QStringLiteral("INBOX")) return {name, QStringLiteral("Inbox")};
  const QString last = delimiter.isNull() ? name : name.section(delimiter, -1);
  return {name, DisplayFolderName(last)};
}

// Whether the mailbox can be selected: a parent may hold no mail.
bool HoldsMail(const Mailbox& box) {
  return !box.Is("Noselect") && !box.Is("NonExistent");
}

// By name, case folded, then exact, then entry id: the same order on every run.
void SortByName(std::vector<FolderRef>& folders) {
  std::sort(folders.begin(), folders.end(), [](const FolderRef& a, const FolderRef& b) {
    if (const int folded = a.Name.compare(b.Name, Qt::CaseInsensitive); folded != 0) {
      return folded < 0;
    }
    if (a.Name != b.Name) return a.Name < b.Name;
    return a.EntryId < b.EntryId;
  });
}

}  // namespace
}  // namespace imap

StoreStatus ImapStore::ReachServer(const imap::Account& account) {
  return imap::Session::Reach(account);
}

ImapStore::ImapStore(imap::Account account, const QString& stateFile, QLocale locale,
                     const Clock& clock)
    : core_(std::make_unique<imap::Core>(std::move(account), stateFile, std::move(locale), clock)),
      ahead_(std::make_unique<imap::Lookaheads>()),
      lockFile_(stateFile + QStringLiteral(".lock")) {
  QDir().mkpath(QFileInfo(stateFile).path());
  // The helpers expected for a run log in once the run's own session has.
  core_->loggedIn = [ahead = ahead_.get()] { ahead->AllowLogIns(); };
}

ImapStore::~ImapStore() = default;

QString ImapStore::StateFilePath(const QString& stateDir, const imap::Account& account) {
  QString name =
      QStringLiteral("imap-%1@%2-%3.sqlite").arg(account.user, account.host).arg(account.port);
  name.replace(QLatin1Char('/'), QLatin1Char('_'));
  return stateDir + QLatin1Char('/') + name;
}

StoreResult<FolderRef> ImapStore::GetDefaultFolder(DefaultFolder which) {
  if (which == DefaultFolder::Outbox) {
    return StoreFailure{FailureKind::Folder, Text::tr("an IMAP account has no Outbox")};
  }
  auto found = core_->DefaultMailbox(which);
  if (!found) return found.failure();
  if (const std::optional<QString>& name = found.value()) {
    auto boxes = core_->Mailboxes();
    if (!boxes) return boxes.failure();
    const imap::Mailbox* box = boxes.value()->Find(*name);
    return imap::RefOf(*name, box != nullptr ? box->delimiter : QChar());
  }
  // Not there yet: the place where it will be made.
  const QString name = which == DefaultFolder::SentItems ? QStringLiteral("Sent")
                       : which == DefaultFolder::Drafts  ? QStringLiteral("Drafts")
                                                         : QStringLiteral("Trash");
  return FolderRef{name, name};
}

StoreResult<std::vector<FolderRef>> ImapStore::Subfolders(const FolderRef& folder) {
  auto boxes = core_->Mailboxes();
  if (!boxes) return boxes.failure();
  std::vector<FolderRef> children;
  const auto show = [&children](const imap::MailboxList::Shown& shown) {
    children.push_back({shown.box->name, DisplayFolderName(shown.name)});
  };
  for (const imap::MailboxList::Shown& shown : boxes.value()->Below(folder.EntryId)) show(shown);
  // Beside INBOX on most servers, the user's own folders belong under it.
  if (folder.EntryId == QStringLiteral("INBOX")) {
    QStringList defaults;
    for (DefaultFolder which :
         {DefaultFolder::SentItems, DefaultFolder::Drafts, DefaultFolder::Trash}) {
      auto found = core_->DefaultMailbox(which);
      if (found && found.value()) defaults.append(*found.value());
    }
    for (const imap::MailboxList::Shown& shown : boxes.value()->Below(QString())) {
      if (shown.box->name != folder.EntryId && !defaults.contains(shown.box->name)) show(shown);
    }
  }
  imap::SortByName(children);
  return children;
}

StoreResult<std::unique_ptr<ItemCollection>> ImapStore::Items(const FolderRef& folder) {
  auto boxes = core_->Mailboxes();
  if (!boxes) return boxes.failure();
  const imap::Mailbox* box = boxes.value()->Find(folder.EntryId);
  // A default folder not made yet, or a parent that holds no mail, reads as empty.
  if (box == nullptr || !imap::HoldsMail(*box)) {
    if (box == nullptr && !IsDefaultPlace(folder.EntryId)) {
      return StoreFailure{FailureKind::Folder,
                          //: %1 is a folder on the server
                          Text::tr("the folder %1 no longer exists").arg(folder.EntryId)};
    }
    return std::unique_ptr<ItemCollection>(
        std::make_unique<imap::ImapItems>(*core_, *ahead_, folder.EntryId, 0, 0));
  }
  if (ahead_->Cancelled()) return imap::Stopped();
  core_->NoteListingRead();
  if (imap::Lookahead* helpers = ahead_->Current()) {
    if (std::optional<imap::Listing> listing = helpers->TakeListing(folder.EntryId)) {
      return std::unique_ptr<ItemCollection>(
          std::make_unique<imap::ImapItems>(*core_, *ahead_, folder.EntryId, std::move(*listing)));
    }
  }
  auto validity = core_->Select(folder.EntryId, imap::Access::ReadOnly);
  if (!validity) return validity.failure();
  return std::unique_ptr<ItemCollection>(std::make_unique<imap::ImapItems>(
      *core_, *ahead_, folder.EntryId, validity.value(), core_->Exists()));
}

bool ImapStore::IsDefaultPlace(const QString& entryId) {
  for (DefaultFolder which :
       {DefaultFolder::SentItems, DefaultFolder::Drafts, DefaultFolder::Trash}) {
    auto place = GetDefaultFolder(which);
    if (place && place->EntryId == entryId) return true;
  }
  return false;
}

std::unique_ptr<NewMailItem> ImapStore::CreateItem() {
  return std::make_unique<imap::ImapNewItem>(*core_);
}

// The lock is a file of its own beside the state file: SQLite's locks on the
// state file are POSIX locks, which any close of that file would drop.
StoreResult<std::unique_ptr<SyncLock>> ImapStore::LockForSync() {
  const QByteArray path = QFile::encodeName(lockFile_);
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    return StoreFailure{FailureKind::Store,
                        //: %1 is the lock file, %2 the system's reason
                        Text::tr("cannot open %1: %2")
                            .arg(lockFile_, QString::fromLocal8Bit(std::strerror(errno)))};
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return StoreFailure{FailureKind::Store,
                        //: %1 is the user name, %2 the server
                        Text::tr("The IMAP account %1 on %2 is in use by another "
                                 "synchronisation (another Zandor window, or zandor "
                                 "--sync). Let it end, then synchronise again.")
                            .arg(core_->account.user, core_->account.host)};
  }
  return core_->state.KeepReadsWhile(std::make_unique<DescriptorLock>(fd));
}

void ImapStore::ExpectRun() {
  ahead_->Expect(core_->account, kHelpers);
}

void ImapStore::DropExpectedRun() {
  ahead_->DropExpected();
}

std::unique_ptr<ReadingAhead> ImapStore::ListAhead(const std::vector<FolderRef>& folders,
                                                   std::optional<QDate> receivedSince) {
  ahead_->End();
  auto boxes = core_->Mailboxes();
  QStringList mailboxes;
  QSet<QString> taken;
  for (const FolderRef& folder : boxes ? folders : std::vector<FolderRef>()) {
    const imap::Mailbox* box = boxes.value()->Find(folder.EntryId);
    if (box == nullptr || !imap::HoldsMail(*box) || taken.contains(folder.EntryId)) continue;
    taken.insert(folder.EntryId);
    mailboxes << folder.EntryId;
  }
  if (mailboxes.isEmpty()) {
    ahead_->DropExpected();
    return nullptr;
  }
  // The helpers stop when the walk no longer needs them, and log out on
  // their own threads; the store waits for them at the next run, or as it goes.
  return ahead_->Start(core_->account, mailboxes, receivedSince, kHelpers);
}

StoreStatus ImapStore::CheckHoldsMail() {
  ahead_->End();
  if (!core_->ListingIsFresh()) core_->ForgetMailboxes();
  auto boxes = core_->Mailboxes();
  if (!boxes) {
    // A run that cannot read the account reads nothing ahead either.
    ahead_->DropExpected();
    return boxes.failure();
  }
  // Logged in now, or moments ago: the helpers expected may log in.
  ahead_->AllowLogIns();
  return Done{};
}

std::vector<FolderProblem> ImapStore::FolderProblems() {
  auto boxes = core_->Mailboxes();
  auto known = core_->state.KnownFolders();
  if (!boxes || !known) return {};
  QStringList read;  // all but where messages are filed, which no run reads
  for (const imap::Mailbox& box : boxes.value()->All()) {
    if (!IsFilingPlace(box)) read << box.name;
  }
  std::vector<FolderProblem> problems;
  for (const QString& name : known.value()) {
    if (boxes.value()->Find(name) != nullptr) continue;
    problems.push_back(
        {DisplayFolderName(name),
         //: Why a folder (named beside this text) was left alone; “it” is that folder
         Text::tr("the server no longer has it (deleted or renamed since the last "
                  "synchronisation), so nothing was removed from the Kelvo; the next "
                  "synchronisation takes it as gone")});
  }
  core_->state.SetKnownFolders(read);  // a failure tells the folders again next time
  return problems;
}

bool ImapStore::IsFilingPlace(const imap::Mailbox& box) {
  for (DefaultFolder which : {DefaultFolder::Drafts, DefaultFolder::Trash}) {
    auto found = core_->DefaultMailbox(which);
    if (!found || !found.value()) continue;
    const QString& top = *found.value();
    if (box.name == top || box.name.startsWith(top + box.delimiter)) return true;
  }
  return false;
}

StoreStatus ImapStore::CheckSentMarks() {
  return core_->state.Check();
}

std::optional<RememberedMessage> ImapStore::Remembered(const QString& entryId) {
  return core_->state.Remembered(entryId);
}

StoreStatus ImapStore::SettleSaves() {
  if (StoreStatus settled = core_->state.Settle(); !settled) return settled;
  return core_->state.CheckInPlace();
}

}  // namespace zandor
