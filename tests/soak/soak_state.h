#pragma once

// What the fault soak looks at after each synchronisation, and the rules it
// holds them to.
//
// The rules, from the dialogue with the Kelvo and the store's promises:
//
// - Nothing is lost: every message file present before a run is there after
//   it, byte for byte, in its folder, or in Trash after a run that was allowed
//   to remove from the mail. Every message the Kelvo uploaded and let go of
//   (it leaves `written` only when the PC sent back an entry id) is a draft.
// - Nothing partial: cur/ and new/ hold only whole messages. A new file may
//   appear only in Drafts, and reads back as exactly one of the uploads the
//   Kelvo offered; at most one new draft per upload and run. tmp/ may keep a
//   file only after a run that was killed: the store writes a delivery there
//   and renames it into cur/, so a kill between the two leaves one; Maildir
//   readers never look in tmp/, so it is harmless (nothing removes it).
// - No resend of what was saved: the PC saves the KelvoSent mark after each
//   part the Kelvo acknowledged, and a normal synchronisation sends only
//   messages without a mark. So after a normal run the Kelvo holds no more
//   parts of a message than before if the message was marked before the run.
//   A part may be held twice only when the first attempt's mark was never
//   saved (the PC died, or the exchange broke, between the Kelvo's Ack and the
//   save); a full synchronisation sends everything again by design.
// - A mark saved in a run means the Kelvo holds the message after it: the
//   mark is saved only after the Kelvo's Ack. A mark is never lost.
// - Removals on the Kelvo take only what is not chosen: the Kelvo never holds
//   fewer parts of a message of the chosen folders than before a run.
// - A run without fault or kill does all it was asked: with removal from the
//   mail, exactly the marked messages the Kelvo no longer held go to Trash
//   (none in a full synchronisation); with removal from the Kelvo, it holds
//   afterwards nothing it held before that is not chosen.
// - The Kelvo's data file always loads; every message it holds is in the mail
//   (or was deleted there by the user), and every upload it holds is held
//   under the entry id of a draft.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace zandor::testing {

// The folders of the soak's Maildir (Maildir++), by directory.
inline const QString kInboxDir = QString();
inline const QString kSentDir = QStringLiteral(".Sent");
inline const QString kWorkDir = QStringLiteral(".Work");
inline const QString kDraftsDir = QStringLiteral(".Drafts");
inline const QString kTrashDir = QStringLiteral(".Trash");
// The folders that take part in a synchronisation.
bool IsChosenFolder(const QString& folderDir);

struct MessageFile {
  QString folderDir;     // relative to the root: "" for the Inbox, ".Sent", ...
  QString fileName;      // in cur/ or new/
  QByteArray digest;     // SHA-1 of the bytes
  bool marked = false;   // KelvoSent holds a time other than the never-sent mark
  qint64 markMsecs = 0;  // the KelvoSent time when marked
  bool readable = true;  // the store could read its subject and body
  QString subject;
  QString body;  // line ends as LF, none at the end
};

struct StoreSnapshot {
  std::map<QString, MessageFile> messages;  // by unique name
  // Entries of cur/ or new/ that are no message: directories, names that are
  // no Maildir name, a unique name found twice.
  QStringList strays;
  int tmpFiles = 0;
  QString error;  // the store could not be read
};

// Reads the Maildir: every file of cur/ and new/ of every folder, the marks
// and, for Drafts, subject and body as the program's store reads them.
StoreSnapshot TakeStoreSnapshot(const QString& root);

struct HeldPart {
  QString entryId;
  int kind = 0;
  QByteArray record;
};

struct KelvoNote {  // a message written on the Kelvo, not yet uploaded
  QString subject;
  QString body;  // line ends as LF, none at the end
};

struct DeviceSnapshot {
  bool loaded = false;
  QString error;
  std::vector<HeldPart> held;
  std::vector<KelvoNote> written;

  int CountHeld(const QString& entryId) const;
};

// Loads the data file as kelvo-sim does (the device model's loader).
DeviceSnapshot TakeDeviceSnapshot(const QString& dataFile);

// What a run was allowed to do.
struct RunFacts {
  bool full = false;             // --full: sends everything again
  bool removeFromMail = false;   // --remove-from-mail: may move chosen mail to Trash
  bool removeFromKelvo = false;  // --remove-from-kelvo: may drop what is not chosen
  bool killed = false;           // zandor was killed with SIGKILL
  bool faultFree = false;        // no fault and no kill: everything asked must be done
  // Messages the user deleted from the mail so far; the Kelvo may hold them.
  QStringList deletedFromMail;
};

// The rules above for one run; each broken rule is one line naming the
// message. Empty when the run kept them all.
QStringList CheckRun(const StoreSnapshot& before, const DeviceSnapshot& deviceBefore,
                     const StoreSnapshot& after, const DeviceSnapshot& deviceAfter,
                     const RunFacts& facts);

// After a last synchronisation without faults: everything chosen is marked
// and held, and nothing waits on the Kelvo.
QStringList CheckSettled(const StoreSnapshot& store, const DeviceSnapshot& device);

// What a run changed on the Kelvo, for the soak's table.
struct RunChanges {
  int newParts = 0;  // held parts more than before
  int repeated = 0;  // new parts whose entry id and record were held already
  int newDrafts = 0;
  int toTrash = 0;
};
RunChanges CompareRun(const StoreSnapshot& before, const DeviceSnapshot& deviceBefore,
                      const StoreSnapshot& after, const DeviceSnapshot& deviceAfter);

}  // namespace zandor::testing
