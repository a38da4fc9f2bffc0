#include "store/maildir/maildir_item.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cerrno>

#include "store/maildir/maildir_files.h"
#include "store/mime/message_writer.h"

namespace zandor::maildir {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(MaildirItem)
};

using mime::ComposeMessage;
using mime::OutgoingMessage;

QByteArray DirectoryOf(const QByteArray& path) {
  return path.left(path.lastIndexOf('/'));
}
QByteArray FileNameOf(const QByteArray& path) {
  return path.mid(path.lastIndexOf('/') + 1);
}

}  // namespace

MaildirItem::MaildirItem(std::shared_ptr<StoreCore> core, QByteArray folderDir, MessageEntry entry)
    : core_(std::move(core)),
      folderDir_(std::move(folderDir)),
      unique_(std::move(entry.unique)),
      path_(std::move(entry.path)),
      received_(entry.received),
      receivedKnown_(entry.receivedKnown) {}

StoreFailure MaildirItem::Gone() const {
  return StoreFailure{
      FailureKind::Message,
      //: %1 is the message's file name, %2 its folder
      Text::tr("the message %1 is no longer in %2").arg(unique_, FromNativePath(folderDir_))};
}

bool MaildirItem::FindFile() const {
  if (::access(path_.constData(), F_OK) == 0 || errno != ENOENT) return true;
  std::optional<QByteArray> moved = FindMessageFile(folderDir_, unique_);
  if (!moved) return false;
  path_ = *moved;
  return true;
}

StoreResult<const HeaderBlock*> MaildirItem::Header() const {
  if (!header_) {
    if (!FindFile()) return Gone();
    auto block = ReadHeaderBlock(path_);
    if (!block) return block.failure();
    header_ = std::move(block.value());
  }
  return &*header_;
}

StoreResult<const HeaderTexts*> MaildirItem::Texts() const {
  if (!texts_) {
    auto header = Header();
    if (!header) return header.failure();
    auto texts = ParseHeaderTexts(header.value()->bytes, core_->options.get());
    // The skip note names the file.
    if (!texts) {
      return StoreFailure{texts.kind(),
                          QStringLiteral("%1: %2").arg(FromNativePath(path_), texts.reason())};
    }
    texts_ = std::move(texts.value());
  }
  return &*texts_;
}

StoreResult<QString> MaildirItem::Text(ItemText which) const {
  if (which == ItemText::Body) {
    if (!body_) {
      if (!FindFile()) return Gone();
      auto body = ReadBodyText(path_, core_->options.get());
      if (!body) return body;
      body_ = std::move(body.value());
    }
    return *body_;
  }
  auto texts = Texts();
  if (!texts) return texts.failure();
  const HeaderTexts& t = *texts.value();
  switch (which) {
    case ItemText::Subject:
      return t.subject;
    case ItemText::SenderName:
      return t.senderName;
    case ItemText::To:
      return t.to;
    case ItemText::CC:
      return t.cc;
    case ItemText::BCC:
      return t.bcc;
    case ItemText::Body:
      break;
  }
  return QString();
}

StoreResult<QDateTime> MaildirItem::ReceivedTime() const {
  if (!receivedKnown_) {
    auto header = Header();
    received_ = ReceivedMsecs(header ? header.value() : nullptr, unique_);
    receivedKnown_ = true;
  }
  if (!received_) {
    return StoreFailure{FailureKind::Message,
                        //: %1 is the message's file name
                        Text::tr("the received time of %1 cannot be read").arg(unique_)};
  }
  return QDateTime::fromMSecsSinceEpoch(*received_);
}

StoreResult<QDateTime> MaildirItem::SentOn() const {
  auto header = Header();
  if (!header) return header.failure();
  if (auto date = FirstHeaderValue(header.value()->bytes, "Date")) {
    if (auto msecs = ParseMailDate(*date)) return QDateTime::fromMSecsSinceEpoch(*msecs);
  }
  // A message without a readable Date was sent when it arrived, as far as
  // anyone can tell.
  return ReceivedTime();
}

StoreResult<std::optional<KelvoStateDb::Mark>> MaildirItem::StoredMark() const {
  if (!stored_) {
    auto read = core_->state.Get(unique_);
    if (!read) return read.failure();
    stored_ = std::move(read.value());
  }
  return *stored_;
}

StoreResult<std::optional<QDateTime>> MaildirItem::KelvoSent() const {
  if (pendingKelvoSent_) return pendingKelvoSent_;
  auto stored = StoredMark();
  if (!stored) return stored.failure();
  if (!stored.value()) return std::optional<QDateTime>();
  return std::optional<QDateTime>(stored.value()->sent);
}

StoreResult<std::optional<SentParts>> MaildirItem::KelvoParts() const {
  if (pendingKelvoSent_) return pendingParts_;
  auto stored = StoredMark();
  if (!stored) return stored.failure();
  if (!stored.value()) return std::optional<SentParts>();
  return stored.value()->parts;
}

void MaildirItem::SetKelvoSent(const QDateTime& value) {
  pendingKelvoSent_ = value;
}

StoreStatus MaildirItem::Save() {
  if (!pendingKelvoSent_) return Done{};
  // The subject goes with the mark, to name the message once it is gone.
  const StoreResult<QString> subject = Text(ItemText::Subject);
  const KelvoStateDb::Mark mark{*pendingKelvoSent_, pendingParts_,
                                subject ? subject.value() : QString()};
  core_->state.PutInBackground(unique_, mark);
  stored_ = std::optional<KelvoStateDb::Mark>(mark);
  pendingKelvoSent_.reset();
  pendingParts_.reset();
  return Done{};
}

StoreStatus MaildirItem::Delete() {
  auto trash = core_->DefaultFolderDir(DefaultFolder::Trash);
  if (!trash) return trash.failure();
  if (!FindFile()) return Gone();

  const MessageFileName name = SplitMessageFileName(FromNativePath(FileNameOf(path_)));
  const QByteArray target =
      trash.value() + "/cur/" +
      NativePath(name.unique + QStringLiteral(":2,") + AddFlag(name.flags, QLatin1Char('T')));
  if (target == path_) return Done{};
  if (auto moved = MoveNoReplace(path_, target); !moved) return moved;
  const QByteArray from = DirectoryOf(path_);
  path_ = target;
  folderDir_ = trash.value();
  if (auto synced = SyncDirectory(trash.value() + "/cur"); !synced) return synced;
  return SyncDirectory(from);
}

StoreStatus MaildirNewItem::Save() {
  if (!entryId_.isEmpty()) {
    if (!pendingKelvoSent_) return Done{};
    auto saved = core_->state.Put(entryId_, {*pendingKelvoSent_, std::nullopt, subject_, true});
    if (saved) pendingKelvoSent_.reset();
    return saved;
  }
  auto drafts = core_->DefaultFolderDir(DefaultFolder::Drafts);
  if (!drafts) return drafts.failure();
  const QByteArray dir = drafts.value();
  if (auto made = MakeMaildir(dir); !made) return made;  // tmp/ may be missing

  const QDateTime now = core_->clock.Now();
  const QString unique = NewUniqueName(now.toSecsSinceEpoch());
  OutgoingMessage message{
      subject_, body_, recipients_, now,
      QStringLiteral("zandor.%1.%2")
          .arg(now.toSecsSinceEpoch())
          .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))};
  const QByteArray bytes = ComposeMessage(message);

  // The mark first: a crash before the delivery leaves a mark of a message
  // that never appears, which is harmless; the other order could leave a
  // message that reads as never sent.
  if (pendingKelvoSent_) {
    if (auto saved = core_->state.Put(unique, {*pendingKelvoSent_, std::nullopt, subject_, true});
        !saved) {
      return saved;
    }
  }
  auto undoMark = [&] {
    if (pendingKelvoSent_) core_->state.Remove(unique);
  };
  const QByteArray temporary = dir + "/tmp/" + NativePath(unique);
  if (auto written = WriteNewFileDurably(temporary, bytes); !written) {
    undoMark();
    return written;
  }
  const QByteArray target = dir + "/cur/" + NativePath(unique + QStringLiteral(":2,D"));
  if (auto moved = MoveNoReplace(temporary, target); !moved) {
    ::unlink(temporary.constData());
    undoMark();
    return moved;
  }
  entryId_ = unique;
  delivered_ = target;
  pendingKelvoSent_.reset();
  return SyncDirectory(dir + "/cur");
}

StoreStatus MaildirNewItem::Withdraw() {
  if (entryId_.isEmpty()) return Done{};
  if (::unlink(delivered_.constData()) != 0 && errno != ENOENT) {
    //: %1 is a message file, %2 the system's reason
    return FailureOf(FailureKind::Store, QT_TRANSLATE_NOOP("MaildirFiles", "cannot remove %1: %2"),
                     delivered_, errno);
  }
  if (auto removed = core_->state.Remove(entryId_); !removed) return removed;
  entryId_.clear();
  return SyncDirectory(DirectoryOf(delivered_));
}

}  // namespace zandor::maildir
