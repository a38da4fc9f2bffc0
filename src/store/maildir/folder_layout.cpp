#include "store/maildir/folder_layout.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <algorithm>
#include <optional>
#include <set>

#include "store/maildir/maildir_files.h"
#include "store/mutf7.h"

namespace zandor::maildir {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(FolderLayout)
};

constexpr int kMaxDepth = 32;

// A directory as the file system knows it: the same one reached through a
// symbolic link has the same identity.
using Identity = std::pair<dev_t, ino_t>;

std::optional<Identity> IdentityOf(const QByteArray& dir) {
  struct stat info {};
  if (::stat(dir.constData(), &info) != 0) return std::nullopt;
  return Identity{info.st_dev, info.st_ino};
}

bool IsSymbolicLink(const QByteArray& path) {
  struct stat info {};
  return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Each directory once, real ones before links to them, so that a folder seen
// twice (a link to it, a link loop) keeps its real name.
std::vector<QByteArray> RealFirst(const QByteArray& dir, std::vector<QByteArray> names) {
  std::stable_partition(names.begin(), names.end(),
                        [&](const QByteArray& name) { return !IsSymbolicLink(dir + '/' + name); });
  return names;
}

bool IsReservedName(const QByteArray& name) {
  return name == "cur" || name == "new" || name == "tmp" || name.startsWith('.');
}

// A nested folder is a Maildir, or a directory that leads to one (mbsync makes
// the parents of a new folder as plain directories).
// Each directory is looked into once (seen), so that link loops cost no more
// than the directories they join.
bool IsNestedFolder(const QByteArray& dir, int depth, std::set<Identity>& seen) {
  const std::optional<Identity> identity = IdentityOf(dir);
  if (!identity || !seen.insert(*identity).second) return false;
  if (IsMaildir(dir)) return true;
  if (depth >= kMaxDepth) return false;
  auto subdirs = ListDirectory(dir, EntryKind::Directory);
  if (!subdirs) return false;
  return std::any_of(subdirs->begin(), subdirs->end(), [&](const QByteArray& name) {
    return !IsReservedName(name) && IsNestedFolder(dir + '/' + name, depth + 1, seen);
  });
}

bool IsNestedFolder(const QByteArray& dir) {
  std::set<Identity> seen;
  return IsNestedFolder(dir, 1, seen);
}

// A dotted folder name whose parts are all names: not "..", ".a..b" or ".a.".
bool IsFolderPath(const QString& name) {
  const QStringList parts = name.split(QLatin1Char('.'));
  return std::none_of(parts.begin(), parts.end(),
                      [](const QString& part) { return part.isEmpty(); });
}

QStringList CandidateNames(DefaultFolder which) {
  switch (which) {
    case DefaultFolder::Inbox:
      return {QStringLiteral("Inbox")};
    case DefaultFolder::SentItems:
      return {QStringLiteral("Sent"), QStringLiteral("Sent Items"),
              QStringLiteral("Sent Messages")};
    case DefaultFolder::Drafts:
      return {QStringLiteral("Drafts")};
    case DefaultFolder::Trash:
      return {QStringLiteral("Trash")};
    case DefaultFolder::Outbox:
      return {QStringLiteral("Outbox")};
  }
  return {};
}

constexpr DefaultFolder kDefaultRoots[] = {DefaultFolder::SentItems, DefaultFolder::Drafts,
                                           DefaultFolder::Trash, DefaultFolder::Outbox};

bool NameLess(const FolderRef& a, const FolderRef& b) {
  if (const int c = a.Name.compare(b.Name, Qt::CaseInsensitive); c != 0) return c < 0;
  if (const int c = a.Name.compare(b.Name); c != 0) return c < 0;
  return a.EntryId < b.EntryId;
}

StoreFailure Gone(const QString& entryId) {
  //: %1 is a folder of the mail folder
  return StoreFailure{FailureKind::Folder, Text::tr("the folder %1 no longer exists").arg(entryId)};
}

}  // namespace

StoreResult<FolderLayout> FolderLayout::Read(const QString& root) {
  const QByteArray native = NativePath(root);
  if (!IsDirectory(native)) {
    //: %1 is the mail folder chosen under Options
    return StoreFailure{FailureKind::Gone, Text::tr("the mail folder %1 does not exist").arg(root)};
  }
  auto subdirs = ListDirectory(native, EntryKind::Directory);
  if (!subdirs) return subdirs.failure();

  QStringList dotted;
  QStringList plain;
  std::vector<FolderProblem> dottedProblems;
  std::vector<FolderProblem> plainProblems;
  std::set<Identity> folders;  // the root and every folder taken, each once
  if (const auto identity = IdentityOf(native)) folders.insert(*identity);
  for (const QByteArray& name : RealFirst(native, std::move(subdirs.value()))) {
    const QByteArray dir = native + '/' + name;
    const std::optional<Identity> identity = IdentityOf(dir);
    if (!identity || folders.count(*identity) != 0) continue;
    if (name.startsWith('.')) {
      const QString folder = FromNativePath(name.mid(1));
      const std::optional<QString> damage = MaildirDamage(dir);
      if (!IsFolderPath(folder)) {
        if (IsMaildir(dir) || damage) {
          dottedProblems.push_back(
              {FromNativePath(name),
               //: Why a folder cannot be used; “its” is the folder's
               Text::tr("its name has an empty part between dots, which no folder of a "
                        "Maildir++ store may have")});
        }
        continue;
      }
      if (!IsMaildir(dir)) {
        if (damage) dottedProblems.push_back({FromNativePath(name), *damage});
        continue;
      }
      dotted.append(folder);
    } else if (!IsReservedName(name) && IsNestedFolder(dir)) {
      plain.append(FromNativePath(name));
    } else {
      if (IsReservedName(name)) continue;
      if (const auto damage = MaildirDamage(dir)) {
        plainProblems.push_back({FromNativePath(name), *damage});
      }
      continue;
    }
    folders.insert(*identity);
  }

  const bool plusPlus = IsMaildir(native) || !dotted.isEmpty() || plain.isEmpty();
  FolderLayout layout(root, plusPlus ? LayoutKind::MaildirPlusPlus : LayoutKind::Nested);
  layout.problems_ = plusPlus ? std::move(dottedProblems) : std::move(plainProblems);
  if (plusPlus) {
    // Every parent of a dotted folder belongs to the tree, present or not.
    for (const QString& name : dotted) {
      const QStringList parts = name.split(QLatin1Char('.'));
      for (qsizetype n = 1; n <= parts.size(); ++n) {
        const QString prefix = parts.mid(0, n).join(QLatin1Char('.'));
        if (!layout.topLevel_.contains(prefix)) layout.topLevel_.append(prefix);
      }
    }
  } else {
    layout.topLevel_ = plain;
  }
  return layout;
}

QString FolderLayout::DefaultName(DefaultFolder which) const {
  if (which == DefaultFolder::Inbox && kind_ == LayoutKind::MaildirPlusPlus) return QString();
  const QStringList candidates = CandidateNames(which);
  for (const QString& candidate : candidates) {
    if (topLevel_.contains(candidate)) return candidate;
  }
  for (const QString& candidate : candidates) {
    for (const QString& name : topLevel_) {
      if (name.compare(candidate, Qt::CaseInsensitive) == 0) return name;
    }
  }
  return QString();
}

bool FolderLayout::IsDefaultRoot(const QString& entryId) const {
  const QString prefix = kind_ == LayoutKind::MaildirPlusPlus ? QStringLiteral(".") : QString();
  if (kind_ == LayoutKind::Nested && entryId == DefaultName(DefaultFolder::Inbox)) return true;
  for (DefaultFolder which : kDefaultRoots) {
    const QString name = DefaultName(which);
    if (!name.isEmpty() && prefix + name == entryId) return true;
  }
  return false;
}

FolderRef FolderLayout::RefOf(const QString& entryId) const {
  if (entryId == QStringLiteral(".") ||
      (kind_ == LayoutKind::Nested && entryId == DefaultName(DefaultFolder::Inbox))) {
    return {entryId, QStringLiteral("Inbox")};
  }
  const QChar separator =
      kind_ == LayoutKind::MaildirPlusPlus ? QLatin1Char('.') : QLatin1Char('/');
  const QString last = entryId.mid(entryId.lastIndexOf(separator) + 1);
  return {entryId, DisplayFolderName(last)};
}

FolderRef FolderLayout::Default(DefaultFolder which) const {
  if (which == DefaultFolder::Inbox && kind_ == LayoutKind::MaildirPlusPlus) {
    return RefOf(QStringLiteral("."));
  }
  QString name = DefaultName(which);
  if (name.isEmpty()) name = CandidateNames(which).front();
  return RefOf(kind_ == LayoutKind::MaildirPlusPlus ? QLatin1Char('.') + name : name);
}

bool FolderLayout::IsDefaultPlace(const QString& entryId) const {
  for (DefaultFolder which : {DefaultFolder::Trash, DefaultFolder::Outbox, DefaultFolder::SentItems,
                              DefaultFolder::Inbox, DefaultFolder::Drafts}) {
    if (Default(which).EntryId == entryId) return true;
  }
  return false;
}

namespace {

// The problems below a nested folder, depth first.
void CollectNestedProblems(const QByteArray& root, const QString& path, int depth,
                           std::set<Identity>& seen, std::vector<FolderProblem>& problems) {
  const QByteArray dir = root + '/' + NativePath(path);
  const std::optional<Identity> identity = IdentityOf(dir);
  if (depth >= kMaxDepth || !identity || !seen.insert(*identity).second) return;
  auto subdirs = ListDirectory(dir, EntryKind::Directory);
  if (!subdirs) return;
  for (const QByteArray& name : subdirs.value()) {
    if (IsReservedName(name)) continue;
    const QString child = path + QLatin1Char('/') + FromNativePath(name);
    if (IsNestedFolder(dir + '/' + name)) {
      CollectNestedProblems(root, child, depth + 1, seen, problems);
    } else if (const auto damage = MaildirDamage(dir + '/' + name)) {
      problems.push_back({child, *damage});
    }
  }
}

}  // namespace

std::vector<FolderProblem> FolderLayout::Problems() const {
  std::vector<FolderProblem> problems = problems_;
  if (kind_ == LayoutKind::Nested) {
    std::set<Identity> seen;
    for (const QString& name : topLevel_) {
      CollectNestedProblems(NativePath(root_), name, 1, seen, problems);
    }
  }
  // By name, whatever order the directories were listed in.
  std::sort(problems.begin(), problems.end(),
            [](const FolderProblem& a, const FolderProblem& b) { return a.folder < b.folder; });
  return problems;
}

bool FolderLayout::HoldsMail() const {
  const QByteArray root = NativePath(root_);
  if (kind_ == LayoutKind::MaildirPlusPlus) return IsMaildir(root);
  const QString inbox = DefaultName(DefaultFolder::Inbox);
  return !inbox.isEmpty() && IsMaildir(root + '/' + NativePath(inbox));
}

StoreResult<std::vector<FolderRef>> FolderLayout::Children(const QString& entryId) const {
  auto directory = Directory(entryId);
  if (!directory) return directory.failure();
  if (!Exists(entryId)) {
    if (IsDefaultPlace(entryId)) return std::vector<FolderRef>();
    return Gone(entryId);
  }

  std::vector<FolderRef> children;
  if (kind_ == LayoutKind::MaildirPlusPlus) {
    const bool isRoot = entryId == QStringLiteral(".");
    const QString prefix = isRoot ? QString() : entryId.mid(1) + QLatin1Char('.');
    for (const QString& name : topLevel_) {
      if (!name.startsWith(prefix)) continue;
      if (name.mid(prefix.size()).contains(QLatin1Char('.'))) continue;
      const QString id = QLatin1Char('.') + name;
      if (isRoot && IsDefaultRoot(id)) continue;
      children.push_back(RefOf(id));
    }
  } else {
    const QByteArray dir = NativePath(directory.value());
    auto subdirs = ListDirectory(dir, EntryKind::Directory);
    if (!subdirs) return subdirs.failure();
    // A subfolder that is the folder itself, one on its path or a top-level
    // folder under another name (a symbolic link) is left out: each folder
    // is walked once, and a link loop ends here.
    std::set<Identity> taken;
    const QByteArray root = NativePath(root_);
    for (const QString& name : topLevel_) {
      if (const auto identity = IdentityOf(root + '/' + NativePath(name))) taken.insert(*identity);
    }
    QString path;
    for (const QString& part : entryId.split(QLatin1Char('/'))) {
      path += (path.isEmpty() ? QString() : QStringLiteral("/")) + part;
      if (const auto identity = IdentityOf(root + '/' + NativePath(path))) taken.insert(*identity);
    }
    for (const QByteArray& name : RealFirst(dir, std::move(subdirs.value()))) {
      const std::optional<Identity> identity = IdentityOf(dir + '/' + name);
      if (IsReservedName(name) || !identity || !taken.insert(*identity).second ||
          !IsNestedFolder(dir + '/' + name)) {
        continue;
      }
      children.push_back(RefOf(entryId + QLatin1Char('/') + FromNativePath(name)));
    }
    // Top-level folders that are none of the default ones hang under the Inbox.
    if (entryId == DefaultName(DefaultFolder::Inbox)) {
      for (const QString& name : topLevel_) {
        if (!IsDefaultRoot(name)) children.push_back(RefOf(name));
      }
    }
  }
  std::sort(children.begin(), children.end(), NameLess);
  return children;
}

StoreResult<QString> FolderLayout::Directory(const QString& entryId) const {
  auto invalid = [&] {
    return StoreFailure{FailureKind::Folder,
                        //: %1 is a folder, %2 the mail folder
                        Text::tr("%1 is not a folder of the mail store %2").arg(entryId, root_)};
  };
  if (kind_ == LayoutKind::MaildirPlusPlus) {
    if (entryId == QStringLiteral(".")) return root_;
    if (entryId.size() < 2 || !entryId.startsWith(QLatin1Char('.')) ||
        entryId.contains(QLatin1Char('/')) || entryId == QStringLiteral("..")) {
      return invalid();
    }
    return root_ + QLatin1Char('/') + entryId;
  }
  const QStringList parts = entryId.split(QLatin1Char('/'));
  for (const QString& part : parts) {
    if (part.isEmpty() || IsReservedName(NativePath(part))) return invalid();
  }
  return root_ + QLatin1Char('/') + entryId;
}

bool FolderLayout::Exists(const QString& entryId) const {
  auto directory = Directory(entryId);
  if (!directory) return false;
  if (IsDirectory(NativePath(directory.value()))) return true;
  return kind_ == LayoutKind::MaildirPlusPlus && topLevel_.contains(entryId.mid(1));
}

}  // namespace zandor::maildir
