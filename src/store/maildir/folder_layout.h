#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "store/mail_store.h"
#include "store/store_result.h"

namespace zandor::maildir {

// The two ways a Maildir root holds its folders, told apart by what is on disk:
// - Maildir++ (Dovecot, Courier): the root is the Inbox, every other folder is
//   a dotted directory in the root (".Sent", ".Work.2026");
// - nested (mbsync's Verbatim): "Inbox/", "Sent/" and their subfolders as
//   subdirectories ("Inbox/Work").
// A root with neither is taken as Maildir++, the layout of a new Dovecot store.
enum class LayoutKind { MaildirPlusPlus, Nested };

// A snapshot of the folder tree under a root. Folder entry ids are paths in the
// layout: "." (the Maildir++ root), ".Work.2026", "Inbox/Work". A folder whose
// children exist while it does not itself (".Work" beside ".Work.2026") is
// still part of the tree; it holds no messages.
class FolderLayout {
 public:
  // Reads the root's top level. Fails when the root is missing or unreadable.
  static StoreResult<FolderLayout> Read(const QString& root);

  LayoutKind Kind() const { return kind_; }

  // The default folder: the existing one, or where it would be made. Nothing
  // is created here; a folder is made when a message must be filed in it.
  FolderRef Default(DefaultFolder which) const;
  // Whether the id is the place of a default folder, present or not: a
  // missing one reads as empty.
  bool IsDefaultPlace(const QString& entryId) const;
  // Whether the root is a mail store: a Maildir itself (Maildir++), or the
  // holder of an Inbox folder that is one (nested). A folder with mail
  // somewhere below it (a home folder) is not.
  bool HoldsMail() const;
  // The direct subfolders of a folder, by name (case folded, then exact, then
  // entry id, so that the order is the same on every run).
  StoreResult<std::vector<FolderRef>> Children(const QString& entryId) const;
  // The directory of a folder; fails for an id that is not of this layout.
  StoreResult<QString> Directory(const QString& entryId) const;
  // Whether the folder is there: a directory, or the parent of one.
  bool Exists(const QString& entryId) const;
  // The folders left out because they cannot be used: a directory that
  // cannot be entered or is a damaged Maildir, a Maildir++ name with an empty
  // part (".a..b", ".c."). Looks into every nested folder.
  std::vector<FolderProblem> Problems() const;

 private:
  FolderLayout(QString root, LayoutKind kind) : root_(std::move(root)), kind_(kind) {}

  QString DefaultName(DefaultFolder which) const;  // existing folder, or empty
  bool IsDefaultRoot(const QString& entryId) const;
  FolderRef RefOf(const QString& entryId) const;

  QString root_;
  LayoutKind kind_;
  // Maildir++: the dotted folder names without their leading dot, plus every
  // missing parent. Nested: the top-level folder directories.
  QStringList topLevel_;
  std::vector<FolderProblem> problems_;  // at the top level
};

}  // namespace zandor::maildir
