#pragma once

// The account's mailboxes as one LIST gave them, indexed once so that a walk
// of the tree costs no more than the listing, however many there are.
// Private to the store.

#include <QHash>
#include <QString>
#include <cstddef>
#include <vector>

#include "store/imap/imap_commands.h"

namespace zandor::imap {

class MailboxList {
 public:
  explicit MailboxList(std::vector<Mailbox> boxes);

  const std::vector<Mailbox>& All() const { return boxes_; }
  // The mailbox as the server spells its name; nullptr when it is not listed.
  const Mailbox* Find(const QString& name) const;

  // A mailbox as it shows below another: by its name relative to that one,
  // "Child", or "Other/Child" when the server did not list "Other".
  struct Shown {
    const Mailbox* box;
    QString name;
  };
  // The mailboxes shown directly below the named one ("" for the top): each
  // below its nearest listed ancestor, so that none whose parent is missing
  // (a server may list "Other/Child" without "Other") is out of reach. Below
  // INBOX also what names it in another case ("inbox/Child"): IMAP reads
  // INBOX in any case.
  const std::vector<Shown>& Below(const QString& name) const;

 private:
  QString ShownParent(const Mailbox& box) const;

  std::vector<Mailbox> boxes_;
  QHash<QString, std::size_t> byName_;
  QHash<QString, std::vector<Shown>> below_;
};

}  // namespace zandor::imap
