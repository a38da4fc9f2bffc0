#include "soak_state.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <set>
#include <string_view>

#include "mail/maildir/maildir_store.h"
#include "model/kelvo_device.h"
#include "sync/clock.h"

namespace zandor::testing {
namespace {

// Every message the soak writes is received after this day.
const QString kAllMail = QStringLiteral("[ReceivedTime] >= \"1 Jan 1990\" ");

// A body with LF line ends and without the line ends at its end: a message
// file ends its text with a line end that the Kelvo's text may not have.
QString Lf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
}

QString FolderLabel(const QString& folderDir) {
  return folderDir.isEmpty() ? QStringLiteral("Inbox") : folderDir;
}

// The folders of a Maildir++ root: the root itself and each dotted directory
// that holds cur/.
QStringList FolderDirs(const QString& root) {
  QStringList dirs{QString()};
  for (const QString& name :
       QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
    if (name.startsWith(QLatin1Char('.')) &&
        QFileInfo(root + QLatin1Char('/') + name + QStringLiteral("/cur")).isDir())
      dirs << name;
  }
  return dirs;
}

// Conventional Maildir names: a unique part without '/', and in cur/ the
// ":2," and the flags.
bool IsMessageName(const QString& name, bool inCur) {
  static const QRegularExpression cur(QStringLiteral("^[^/:.][^/:]*:2,[A-Za-z]*$"));
  static const QRegularExpression fresh(QStringLiteral("^[^/:.][^/:]*$"));
  return (inCur ? cur : fresh).match(name).hasMatch();
}

// Marks, subjects and bodies as the program's own store reads them.
void ReadThroughStore(const QString& root, StoreSnapshot& snapshot) {
  const FixedClock clock(QDateTime(QDate(2100, 1, 1), QTime(0, 0)));
  MaildirStore store(root, QLocale::c(), clock);
  for (auto& [unique, message] : snapshot.messages) message.readable = false;
  for (const QString& dir : FolderDirs(root)) {
    const FolderRef folder{dir.isEmpty() ? QStringLiteral(".") : dir, QString()};
    auto items = store.Items(folder);
    if (!items) {
      snapshot.error = items.reason();
      return;
    }
    for (auto item = items.value()->Find(kAllMail); item; item = items.value()->FindNext()) {
      auto found = snapshot.messages.find(item->EntryId());
      if (found == snapshot.messages.end()) continue;
      MessageFile& message = found->second;
      const std::optional<QDateTime> mark = item->KelvoSent();
      message.marked = mark && *mark != NeverSentDate();
      message.markMsecs = message.marked ? mark->toMSecsSinceEpoch() : 0;
      const StoreResult<QString> subject = item->Text(ItemText::Subject);
      const StoreResult<QString> body = item->Text(ItemText::Body);
      message.readable = subject.ok() && body.ok();
      if (dir == kDraftsDir && message.readable) {
        message.subject = subject.value();
        message.body = Lf(body.value());
      }
    }
  }
}

// Counts per (entry id, record): how often the Kelvo holds each part.
std::map<std::pair<QString, QByteArray>, int> PartCounts(const DeviceSnapshot& device) {
  std::map<std::pair<QString, QByteArray>, int> counts;
  for (const HeldPart& part : device.held) ++counts[{part.entryId, part.record}];
  return counts;
}

std::map<QString, int> EntryCounts(const DeviceSnapshot& device) {
  std::map<QString, int> counts;
  for (const HeldPart& part : device.held) ++counts[part.entryId];
  return counts;
}

int CountOf(const std::map<QString, int>& counts, const QString& key) {
  const auto found = counts.find(key);
  return found == counts.end() ? 0 : found->second;
}

bool IsUploadOf(const MessageFile& draft, const KelvoNote& note) {
  return draft.readable && draft.subject == note.subject && draft.body == note.body;
}

// A run without faults did what it was asked: the removals on both sides.
QStringList CheckAllDone(const StoreSnapshot& before, const DeviceSnapshot& deviceBefore,
                         const StoreSnapshot& after, const DeviceSnapshot& deviceAfter,
                         const RunFacts& facts) {
  QStringList broken;
  const std::map<QString, int> heldBefore = EntryCounts(deviceBefore);
  for (const auto& [unique, was] : before.messages) {
    const auto now = after.messages.find(unique);
    if (now == after.messages.end() || !IsChosenFolder(was.folderDir)) continue;
    const bool trashed = now->second.folderDir == kTrashDir;
    const bool due =
        facts.removeFromMail && !facts.full && was.marked && CountOf(heldBefore, unique) == 0;
    if (trashed && !due) {
      broken << QStringLiteral("moved to Trash though not due: %1").arg(unique);
    } else if (due && !trashed) {
      broken << QStringLiteral("kept though the Kelvo no longer holds it: %1").arg(unique);
    }
  }
  if (facts.removeFromKelvo) {
    for (const auto& [entryId, count] : EntryCounts(deviceAfter)) {
      if (CountOf(heldBefore, entryId) == 0) continue;  // taken in during this run
      const auto message = after.messages.find(entryId);
      if (message == after.messages.end() || !IsChosenFolder(message->second.folderDir)) {
        broken << QStringLiteral("still on the Kelvo though not chosen: %1").arg(entryId);
      }
    }
  }
  return broken;
}

}  // namespace

bool IsChosenFolder(const QString& folderDir) {
  return folderDir == kInboxDir || folderDir == kSentDir || folderDir == kWorkDir;
}

int DeviceSnapshot::CountHeld(const QString& entryId) const {
  int count = 0;
  for (const HeldPart& part : held) count += part.entryId == entryId ? 1 : 0;
  return count;
}

StoreSnapshot TakeStoreSnapshot(const QString& root) {
  StoreSnapshot snapshot;
  for (const QString& dir : FolderDirs(root)) {
    const QString base = dir.isEmpty() ? root : root + QLatin1Char('/') + dir;
    for (const char* sub : {"cur", "new"}) {
      const QDir subDir(base + QLatin1Char('/') + QLatin1String(sub));
      for (const QFileInfo& entry :
           subDir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString where = FolderLabel(dir) + QLatin1Char('/') + QLatin1String(sub) +
                              QLatin1Char('/') + entry.fileName();
        if (!entry.isFile() || !IsMessageName(entry.fileName(), std::string_view(sub) == "cur")) {
          snapshot.strays << where;
          continue;
        }
        QFile file(entry.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
          snapshot.strays << where + QStringLiteral(" (unreadable)");
          continue;
        }
        const QString unique = entry.fileName().section(QStringLiteral(":2,"), 0, 0);
        MessageFile message;
        message.folderDir = dir;
        message.fileName = entry.fileName();
        message.digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        if (!snapshot.messages.emplace(unique, message).second) {
          snapshot.strays << where + QStringLiteral(" (a second file of ") + unique +
                                 QLatin1Char(')');
        }
      }
    }
    snapshot.tmpFiles += static_cast<int>(
        QDir(base + QStringLiteral("/tmp")).entryList(QDir::Files | QDir::Hidden).size());
  }
  ReadThroughStore(root, snapshot);
  return snapshot;
}

DeviceSnapshot TakeDeviceSnapshot(const QString& dataFile) {
  DeviceSnapshot snapshot;
  sim::KelvoDevice device;
  if (const std::optional<QString> refused = device.LoadFile(dataFile)) {
    snapshot.error = *refused;
    return snapshot;
  }
  snapshot.loaded = true;
  for (const sim::HeldMessage& held : device.Held()) {
    snapshot.held.push_back({QString::fromUtf8(held.entryId), held.kind, held.record});
  }
  for (const sim::WrittenMessage& written : device.Written()) {
    snapshot.written.push_back(
        {QString::fromLatin1(written.fields[0]), Lf(QString::fromLatin1(written.fields[3]))});
  }
  return snapshot;
}

QStringList CheckRun(const StoreSnapshot& before, const DeviceSnapshot& deviceBefore,
                     const StoreSnapshot& after, const DeviceSnapshot& deviceAfter,
                     const RunFacts& facts) {
  QStringList broken;
  if (!after.error.isEmpty()) broken << QStringLiteral("the store cannot be read: ") + after.error;
  if (!deviceAfter.loaded) {
    broken << QStringLiteral("the Kelvo's data file does not load: ") + deviceAfter.error;
    return broken;
  }

  // Nothing lost, nothing rewritten.
  for (const auto& [unique, was] : before.messages) {
    const auto found = after.messages.find(unique);
    if (found == after.messages.end()) {
      broken << QStringLiteral("lost: %1 (was in %2)").arg(unique, FolderLabel(was.folderDir));
      continue;
    }
    const MessageFile& now = found->second;
    const bool trashed = now.folderDir == kTrashDir && was.folderDir != kTrashDir;
    if (now.folderDir != was.folderDir &&
        !(trashed && facts.removeFromMail && IsChosenFolder(was.folderDir))) {
      broken << QStringLiteral("moved: %1 from %2 to %3")
                    .arg(unique, FolderLabel(was.folderDir), FolderLabel(now.folderDir));
    }
    if (now.digest != was.digest) broken << QStringLiteral("rewritten: %1").arg(unique);
    if (was.marked && !now.marked) broken << QStringLiteral("mark lost: %1").arg(unique);
  }

  // Nothing partial: new files are whole uploads, in Drafts, one per upload.
  for (const QString& stray : after.strays) {
    if (!before.strays.contains(stray)) broken << QStringLiteral("stray entry: ") + stray;
  }
  if (after.tmpFiles > before.tmpFiles && !facts.killed) {
    broken << QStringLiteral("tmp/ holds %1 more file(s) after a run that was not killed")
                  .arg(after.tmpFiles - before.tmpFiles);
  }
  std::map<int, int> newDraftsPerNote;
  for (const auto& [unique, now] : after.messages) {
    if (before.messages.count(unique) != 0) continue;
    if (now.folderDir != kDraftsDir) {
      broken << QStringLiteral("new message outside Drafts: %1 in %2")
                    .arg(unique, FolderLabel(now.folderDir));
      continue;
    }
    int note = -1;
    for (std::size_t i = 0; i < deviceBefore.written.size(); ++i) {
      if (IsUploadOf(now, deviceBefore.written[i])) note = static_cast<int>(i);
    }
    if (note < 0) {
      broken << QStringLiteral("partial or unknown draft: %1 (subject \"%2\")")
                    .arg(unique, now.subject);
    } else if (++newDraftsPerNote[note] > 1) {
      broken << QStringLiteral("one upload filed twice in one run: \"%1\"").arg(now.subject);
    }
  }

  // Uploads the Kelvo let go of are drafts; the Kelvo writes nothing new.
  for (const KelvoNote& note : deviceBefore.written) {
    bool stillWritten = false;
    for (const KelvoNote& left : deviceAfter.written) stillWritten |= left.subject == note.subject;
    if (stillWritten) continue;
    bool filed = false;
    for (const auto& [unique, message] : after.messages) {
      filed |= message.folderDir == kDraftsDir && IsUploadOf(message, note);
    }
    if (!filed) broken << QStringLiteral("upload lost: \"%1\"").arg(note.subject);
  }
  if (deviceAfter.written.size() > deviceBefore.written.size()) {
    broken << QStringLiteral("the Kelvo has more written messages than before");
  }

  // No resend of a part whose mark was saved; marks imply held parts.
  const std::map<QString, int> heldBefore = EntryCounts(deviceBefore);
  const std::map<QString, int> heldAfter = EntryCounts(deviceAfter);
  for (const auto& [entryId, count] : heldAfter) {
    const int more = count - CountOf(heldBefore, entryId);
    const auto message = before.messages.find(entryId);
    if (more > 0 && !facts.full && message != before.messages.end() && message->second.marked) {
      broken << QStringLiteral("sent again though marked before the run: %1 (%2 more part(s))")
                    .arg(entryId)
                    .arg(more);
    }
    const auto known = after.messages.find(entryId);
    if (known == after.messages.end() && !facts.deletedFromMail.contains(entryId)) {
      broken << QStringLiteral("the Kelvo holds a message the mail does not have: %1").arg(entryId);
    }
  }
  for (const auto& [entryId, count] : heldBefore) {
    const auto now = after.messages.find(entryId);
    if (now != after.messages.end() && IsChosenFolder(now->second.folderDir) &&
        CountOf(heldAfter, entryId) < count) {
      broken << QStringLiteral("removed from the Kelvo though chosen: %1").arg(entryId);
    }
  }
  for (const HeldPart& part : deviceAfter.held) {
    if (part.kind != 0) continue;
    const auto draft = after.messages.find(part.entryId);
    if (draft != after.messages.end() && draft->second.folderDir != kDraftsDir) {
      broken << QStringLiteral("an upload is held under a message that is no draft: %1")
                    .arg(part.entryId);
    }
  }
  for (const auto& [unique, now] : after.messages) {
    const auto was = before.messages.find(unique);
    const bool markedNow =
        now.marked && (was == before.messages.end() || was->second.markMsecs != now.markMsecs);
    if (markedNow && IsChosenFolder(now.folderDir) && CountOf(heldAfter, unique) == 0) {
      broken << QStringLiteral("marked in this run but not on the Kelvo: %1").arg(unique);
    }
  }
  if (facts.faultFree) broken += CheckAllDone(before, deviceBefore, after, deviceAfter, facts);
  return broken;
}

QStringList CheckSettled(const StoreSnapshot& store, const DeviceSnapshot& device) {
  QStringList broken;
  if (!device.loaded) return {QStringLiteral("the Kelvo's data file does not load")};
  const std::map<QString, int> held = EntryCounts(device);
  for (const auto& [unique, message] : store.messages) {
    if (!IsChosenFolder(message.folderDir)) continue;
    if (!message.marked) broken << QStringLiteral("never marked: %1").arg(unique);
    if (CountOf(held, unique) == 0) broken << QStringLiteral("never held: %1").arg(unique);
  }
  for (const KelvoNote& note : device.written) {
    broken << QStringLiteral("never uploaded: \"%1\"").arg(note.subject);
  }
  return broken;
}

RunChanges CompareRun(const StoreSnapshot& before, const DeviceSnapshot& deviceBefore,
                      const StoreSnapshot& after, const DeviceSnapshot& deviceAfter) {
  RunChanges changes;
  const auto partsBefore = PartCounts(deviceBefore);
  for (const auto& [part, count] : PartCounts(deviceAfter)) {
    const auto found = partsBefore.find(part);
    const int was = found == partsBefore.end() ? 0 : found->second;
    if (count <= was) continue;
    changes.newParts += count - was;
    // Every copy beyond the first is a repeat of the part.
    changes.repeated += count - std::max(was, 1);
  }
  for (const auto& [unique, now] : after.messages) {
    const auto was = before.messages.find(unique);
    if (was == before.messages.end()) {
      changes.newDrafts += now.folderDir == kDraftsDir ? 1 : 0;
    } else if (now.folderDir == kTrashDir && was->second.folderDir != kTrashDir) {
      ++changes.toTrash;
    }
  }
  return changes;
}

}  // namespace zandor::testing
