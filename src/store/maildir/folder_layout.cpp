#include "store/maildir/folder_layout.h"

#include <algorithm>

#include "store/maildir/maildir_files.h"
#include "store/maildir/mutf7.h"

namespace zandor::maildir {
namespace {

constexpr int kMaxDepth = 32;

bool IsReservedName(const QByteArray& name) {
  return name == "cur" || name == "new" || name == "tmp" || name.startsWith('.');
}

// A nested folder is a Maildir, or a directory that leads to one (mbsync makes
// the parents of a new folder as plain directories).
bool IsNestedFolder(const QByteArray& dir, int depth) {
  if (IsMaildir(dir)) return true;
  if (depth >= kMaxDepth) return false;
  auto subdirs = ListDirectory(dir, EntryKind::Directory);
  if (!subdirs) return false;
  return std::any_of(subdirs->begin(), subdirs->end(), [&](const QByteArray& name) {
    return !IsReservedName(name) && IsNestedFolder(dir + '/' + name, depth + 1);
  });
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
  return StoreFailure{QStringLiteral("the folder %1 no longer exists").arg(entryId)};
}

}  // namespace

StoreResult<FolderLayout> FolderLayout::Read(const QString& root) {
  const QByteArray native = NativePath(root);
  if (!IsDirectory(native)) {
    return StoreFailure{QStringLiteral("the mail folder %1 does not exist").arg(root)};
  }
  auto subdirs = ListDirectory(native, EntryKind::Directory);
  if (!subdirs) return StoreFailure{subdirs.reason()};

  QStringList dotted;
  QStringList plain;
  for (const QByteArray& name : subdirs.value()) {
    const QByteArray dir = native + '/' + name;
    if (name.startsWith('.')) {
      if (name.size() > 1 && IsMaildir(dir)) dotted.append(FromNativePath(name.mid(1)));
    } else if (!IsReservedName(name) && IsNestedFolder(dir, 1)) {
      plain.append(FromNativePath(name));
    }
  }

  const bool plusPlus = IsMaildir(native) || !dotted.isEmpty() || plain.isEmpty();
  FolderLayout layout(root, plusPlus ? LayoutKind::MaildirPlusPlus : LayoutKind::Nested);
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

StoreResult<FolderRef> FolderLayout::Default(DefaultFolder which) {
  const QByteArray root = NativePath(root_);
  if (which == DefaultFolder::Inbox && kind_ == LayoutKind::MaildirPlusPlus) {
    if (!IsMaildir(root)) {
      if (auto made = MakeMaildir(root); !made) return StoreFailure{made.reason()};
    }
    return RefOf(QStringLiteral("."));
  }
  QString name = DefaultName(which);
  if (name.isEmpty()) name = CandidateNames(which).front();
  const QString entryId = kind_ == LayoutKind::MaildirPlusPlus ? QLatin1Char('.') + name : name;
  const QByteArray dir = root + '/' + NativePath(entryId);
  if (!IsMaildir(dir)) {
    if (auto made = MakeMaildir(dir); !made) {
      return StoreFailure{made.reason()};
    }
  }
  if (!topLevel_.contains(name)) topLevel_.append(name);
  return RefOf(entryId);
}

StoreResult<std::vector<FolderRef>> FolderLayout::Children(const QString& entryId) const {
  auto directory = Directory(entryId);
  if (!directory) return StoreFailure{directory.reason()};
  if (!Exists(entryId)) return Gone(entryId);

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
    if (!subdirs) return StoreFailure{subdirs.reason()};
    for (const QByteArray& name : subdirs.value()) {
      if (IsReservedName(name) || !IsNestedFolder(dir + '/' + name, 1)) continue;
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
    return StoreFailure{
        QStringLiteral("%1 is not a folder of the mail store %2").arg(entryId, root_)};
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
