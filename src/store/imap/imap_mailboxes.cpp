#include "store/imap/imap_mailboxes.h"

namespace zandor::imap {

MailboxList::MailboxList(std::vector<Mailbox> boxes) : boxes_(std::move(boxes)) {
  byName_.reserve(static_cast<qsizetype>(boxes_.size()));
  for (std::size_t i = 0; i < boxes_.size(); ++i) byName_.insert(boxes_[i].name, i);
  for (const Mailbox& box : boxes_) {
    const QString parent = ShownParent(box);
    // "INBOX/Child" and "inbox/Child" alike shed the parent's name and its delimiter.
    const qsizetype skip = parent.isEmpty() ? 0 : parent.size() + 1;
    below_[parent].push_back({&box, box.name.mid(skip)});
  }
}

const Mailbox* MailboxList::Find(const QString& name) const {
  const auto found = byName_.constFind(name);
  return found == byName_.constEnd() ? nullptr : &boxes_[*found];
}

const std::vector<MailboxList::Shown>& MailboxList::Below(const QString& name) const {
  static const std::vector<Shown> kNone;
  const auto found = below_.constFind(name);
  return found == below_.constEnd() ? kNone : *found;
}

QString MailboxList::ShownParent(const Mailbox& box) const {
  if (box.delimiter.isNull() || box.name == QLatin1String("INBOX")) return {};
  for (qsizetype cut = box.name.lastIndexOf(box.delimiter); cut > 0;
       cut = box.name.lastIndexOf(box.delimiter, cut - 1)) {
    const QString ancestor = box.name.left(cut);
    if (ancestor.compare(QLatin1String("INBOX"), Qt::CaseInsensitive) == 0) {
      return QStringLiteral("INBOX");
    }
    if (byName_.contains(ancestor)) return ancestor;
  }
  return {};
}

}  // namespace zandor::imap
