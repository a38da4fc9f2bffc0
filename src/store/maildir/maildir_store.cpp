#include "store/maildir/maildir_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cerrno>
#include <climits>

#include "store/maildir/maildir_files.h"
#include "store/maildir/maildir_item.h"
#include "store/maildir/store_core.h"
#include "store/mime/message_reader.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(MaildirStore)
};

}  // namespace

namespace maildir {

StoreCore::StoreCore(QString rootPath, QLocale storeLocale, const Clock& storeClock)
    : root(std::move(rootPath)),
      locale(std::move(storeLocale)),
      clock(storeClock),
      options(MakeParserOptions(locale)),
      state(root + QLatin1Char('/') + KelvoStateDb::FileName()) {}

StoreResult<QByteArray> StoreCore::DefaultFolderDir(DefaultFolder which) {
  auto layout = FolderLayout::Read(root);
  if (!layout) return layout.failure();
  auto dir = layout->Directory(layout->Default(which).EntryId);
  if (!dir) return dir.failure();
  const QByteArray native = NativePath(dir.value());
  // A message is to be filed here: this is when a missing folder is made.
  if (!IsMaildir(native)) {
    if (auto made = MakeMaildir(native); !made) return made.failure();
  }
  return native;
}

std::optional<qint64> ReceivedMsecs(const HeaderBlock* header, const QString& unique) {
  if (header != nullptr) {
    if (auto received = FirstHeaderValue(header->bytes, "Received")) {
      const qsizetype semicolon = received->lastIndexOf(';');
      if (semicolon >= 0) {
        if (auto msecs = ParseMailDate(received->mid(semicolon + 1))) return msecs;
      }
    }
  }
  if (auto seconds = DeliverySeconds(unique)) return *seconds * 1000;
  if (header == nullptr) return std::nullopt;
  if (auto date = FirstHeaderValue(header->bytes, "Date")) {
    if (auto msecs = ParseMailDate(*date)) return msecs;
  }
  return header->modifiedMsecs;
}

namespace {

// The messages of one folder as listed when the collection was made.
class MaildirItems final : public ItemCollection {
 public:
  MaildirItems(std::shared_ptr<StoreCore> core, QByteArray folderDir,
               std::vector<MessageEntry> entries)
      : core_(std::move(core)), folderDir_(std::move(folderDir)), entries_(std::move(entries)) {}

  StoreResult<int> Count(std::optional<QDate> receivedSince) const override {
    if (!receivedSince) return static_cast<int>(std::min<size_t>(entries_.size(), INT_MAX));
    if (auto present = FolderPresent(); !present) return present.failure();
    EnsureTimes();
    const qint64 threshold = Threshold(*receivedSince);
    int count = 0;
    for (const MessageEntry& entry : entries_) {
      if (Matches(entry, threshold) && count < INT_MAX) ++count;
    }
    return count;
  }

  void SortByReceivedTime() override {
    EnsureTimes();
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const MessageEntry& a, const MessageEntry& b) {
                       const qint64 ta = a.received.value_or(LLONG_MIN);
                       const qint64 tb = b.received.value_or(LLONG_MIN);
                       if (ta != tb) return ta < tb;
                       return a.unique < b.unique;
                     });
  }

  std::unique_ptr<MailItem> Find(std::optional<QDate> receivedSince) override {
    threshold_ = receivedSince ? std::optional<qint64>(Threshold(*receivedSince)) : std::nullopt;
    cursor_ = 0;
    return NextMatch();
  }

  std::unique_ptr<MailItem> FindNext() override { return NextMatch(); }

 private:
  // Local midnight at the start of the day.
  static qint64 Threshold(QDate day) { return QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch(); }

  StoreStatus FolderPresent() const {
    if (IsDirectory(folderDir_) || entries_.empty()) return Done{};
    return StoreFailure{FailureKind::Folder,
                        //: %1 is a folder
                        Text::tr("the folder %1 no longer exists").arg(FromNativePath(folderDir_))};
  }

  static bool Matches(const MessageEntry& entry, std::optional<qint64> threshold) {
    if (!threshold) return true;
    return entry.received && *entry.received >= *threshold;
  }

  // Reads the header of every message whose received time is not known yet.
  void EnsureTimes() const {
    for (MessageEntry& entry : entries_) {
      if (entry.receivedKnown) continue;
      int error = 0;
      auto header = ReadHeaderBlock(entry.path, &error);
      if (!header && error == ENOENT) {
        if (auto moved = FindMessageFile(folderDir_, entry.unique)) {
          entry.path = *moved;
          header = ReadHeaderBlock(entry.path);
        }
      }
      entry.received = ReceivedMsecs(header ? &header.value() : nullptr, entry.unique);
      entry.receivedKnown = true;
    }
  }

  std::unique_ptr<MailItem> NextMatch() {
    EnsureTimes();
    while (cursor_ < entries_.size()) {
      const MessageEntry& entry = entries_[cursor_++];
      if (Matches(entry, threshold_))
        return std::make_unique<MaildirItem>(core_, folderDir_, entry);
    }
    return nullptr;
  }

  std::shared_ptr<StoreCore> core_;
  QByteArray folderDir_;
  mutable std::vector<MessageEntry> entries_;
  size_t cursor_ = 0;
  std::optional<qint64> threshold_;
};

// The message files in cur/ and new/ of a folder, by unique name.
StoreResult<std::vector<MessageEntry>> ListMessages(const QByteArray& folderDir) {
  std::vector<MessageEntry> entries;
  for (const char* sub : {"/cur", "/new"}) {
    const QByteArray dir = folderDir + sub;
    int error = 0;
    auto names = ListDirectory(dir, EntryKind::File, &error);
    if (!names) {
      if (error == ENOENT && std::string_view(sub) == "/new") continue;
      return names.failure();
    }
    for (const QByteArray& name : names.value()) {
      if (name.startsWith('.')) continue;  // other programs' temporary files
      entries.push_back({SplitMessageFileName(FromNativePath(name)).unique, dir + '/' + name,
                         std::nullopt, false});
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const MessageEntry& a, const MessageEntry& b) { return a.unique < b.unique; });
  return entries;
}

}  // namespace
}  // namespace maildir

MaildirStore::MaildirStore(QString rootPath, QLocale locale, const Clock& clock)
    : core_(std::make_shared<maildir::StoreCore>(std::move(rootPath), std::move(locale), clock)) {}

MaildirStore::~MaildirStore() = default;

QString MaildirStore::StateFileName() {
  return KelvoStateDb::FileName();
}

StoreResult<FolderRef> MaildirStore::GetDefaultFolder(DefaultFolder which) {
  auto layout = maildir::FolderLayout::Read(core_->root);
  if (!layout) return layout.failure();
  return layout->Default(which);
}

StoreResult<std::unique_ptr<SyncLock>> MaildirStore::LockForSync() {
  const QByteArray root = maildir::NativePath(core_->root);
  const int fd = ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return maildir::FailureOf(FailureKind::Store,
                              //: %1 is a folder, %2 the system's reason
                              QT_TRANSLATE_NOOP("MaildirFiles", "cannot open the folder %1: %2"),
                              root, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) {
      return maildir::FailureOf(FailureKind::Store,
                                //: %1 is a folder, %2 the system's reason
                                QT_TRANSLATE_NOOP("MaildirFiles", "cannot lock the folder %1: %2"),
                                root, error);
    }
    return StoreFailure{FailureKind::Store,
                        //: %1 is the mail folder
                        Text::tr("The mail folder %1 is in use by another synchronisation "
                                 "(another Zandor window, or zandor --sync). Let it end, "
                                 "then synchronise again.")
                            .arg(core_->root)};
  }
  return core_->state.KeepReadsWhile(std::make_unique<DescriptorLock>(fd));
}

std::vector<FolderProblem> MaildirStore::FolderProblems() {
  auto layout = maildir::FolderLayout::Read(core_->root);
  return layout ? layout->Problems() : std::vector<FolderProblem>();
}

StoreStatus MaildirStore::CheckHoldsMail() {
  return HoldsMail(core_->root);
}

StoreStatus MaildirStore::HoldsMail(const QString& root) {
  auto layout = maildir::FolderLayout::Read(root);
  if (!layout) return layout.failure();
  if (layout->HoldsMail()) return Done{};
  //: %1 is the mail folder; one of the next two sentences follows
  QString text = Text::tr(
                     "The mail folder %1 holds no Maildir: there is no cur, new and tmp at its "
                     "top (a Maildir++ store) nor in an Inbox folder of it (Inbox/cur).")
                     .arg(root);
  // Choosing the home folder when the mail is in ~/Maildir is the common slip.
  //: Follows the sentence above, after a space
  QString fix = Text::tr(" Choose your Maildir under Options, Mail Folder.");
  const QDir dir(root);
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    auto below = maildir::FolderLayout::Read(dir.filePath(name));
    if (below && below->HoldsMail()) {
      fix =
          //: Follows the sentence above, after a space; %1 is a folder that holds a Maildir
          Text::tr(" %1 holds one: choose it under Options, Mail Folder.").arg(dir.filePath(name));
      break;
    }
  }
  return StoreFailure{FailureKind::Store, text + fix};
}

StoreStatus MaildirStore::SettleSaves() {
  if (StoreStatus settled = core_->state.Settle(); !settled) return settled;
  return core_->state.CheckInPlace();
}

StoreStatus MaildirStore::CheckSentMarks() {
  return core_->state.Check();
}

std::optional<RememberedMessage> MaildirStore::Remembered(const QString& entryId) {
  return core_->state.Remembered(entryId);
}

StoreResult<std::vector<FolderRef>> MaildirStore::Subfolders(const FolderRef& folder) {
  auto layout = maildir::FolderLayout::Read(core_->root);
  if (!layout) return layout.failure();
  return layout->Children(folder.EntryId);
}

StoreResult<std::unique_ptr<ItemCollection>> MaildirStore::Items(const FolderRef& folder) {
  auto layout = maildir::FolderLayout::Read(core_->root);
  if (!layout) return layout.failure();
  auto dir = layout->Directory(folder.EntryId);
  if (!dir) return dir.failure();
  if (!layout->Exists(folder.EntryId) && !layout->IsDefaultPlace(folder.EntryId)) {
    return StoreFailure{FailureKind::Folder,
                        //: %1 is a folder
                        Text::tr("the folder %1 no longer exists").arg(folder.EntryId)};
  }
  const QByteArray native = maildir::NativePath(dir.value());
  std::vector<maildir::MessageEntry> entries;
  if (maildir::IsMaildir(native)) {
    auto listed = maildir::ListMessages(native);
    if (!listed) return listed.failure();
    entries = std::move(listed.value());
  } else if (maildir::IsDirectory(native)) {
    // Read as empty, a damaged folder would look like one whose mail was
    // deleted.
    if (const auto damage = maildir::MaildirDamage(native)) {
      return StoreFailure{
          FailureKind::Folder,
          //: %1 is a folder, %2 why (“it is damaged: …”)
          Text::tr("the folder %1 cannot be read: %2").arg(folder.EntryId, *damage)};
    }
  }
  return std::unique_ptr<ItemCollection>(
      std::make_unique<maildir::MaildirItems>(core_, native, std::move(entries)));
}

std::unique_ptr<NewMailItem> MaildirStore::CreateItem() {
  return std::make_unique<maildir::MaildirNewItem>(core_);
}

}  // namespace zandor
