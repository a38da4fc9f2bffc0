#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "child_process.h"
#include "support/maildir_builder.h"

namespace zandor::testing {

// One run of zandor --sync.
struct ZandorRun {
  bool started = false;
  bool hung = false;    // still running when the wait ran out (then killed)
  bool killed = false;  // killed on purpose with SIGKILL
  ChildEnd end;
  QString out;
  QString err;

  QString Outcome() const;  // "exit 0", "exit 1", "SIGKILL", "hung", ...
};

// The real programs in a folder of their own: a settings home, a Maildir
// (Maildir++), the Kelvo's data file, and kelvo-sim and zandor started as
// processes with their output in files. The soak and the line benchmarks use
// it. Every wait is a bound; nothing asserts on time.
class ProcessWorld {
 public:
  ProcessWorld(QString zandorExe, QString kelvoSimExe);
  ~ProcessWorld();

  bool Valid() const { return dir_.isValid(); }
  // Leaves the folder in place at the end, to look at after a failure.
  void KeepFiles() { dir_.setAutoRemove(false); }
  QString Root() const { return dir_.path(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  MaildirBuilder& Mail() { return mail_; }
  QString MaildirRoot() const { return mail_.Root(); }
  QString DataFile() const { return Path(QStringLiteral("kelvo.json")); }

  void WriteSetting(const QString& section, const QString& key, const QString& value);

  // The Kelvo's data file (while the simulator is stopped): an empty Kelvo
  // in the Western text form, messages written on it added one by one.
  void WriteEmptyKelvo();
  bool AddKelvoNote(const QString& subject, const QString& to, const QString& body);
  // The user deletes a message on the Kelvo: every part held under the id.
  bool RemoveHeld(const QString& entryId);

  // Starts kelvo-sim --pty with the data file and the extra arguments and
  // points "Com 1" at its pseudo-terminal; false (reason in the log) when it
  // did not come up.
  bool StartKelvo(const QStringList& extra = {});
  // Lets the simulator see the end of the PC's dialogue, then stops it the
  // way a user does (SIGTERM); it saves its data file on the way out.
  void StopKelvo();
  QString KelvoLog() const;
  QString KelvoTracePath() const { return Path(QStringLiteral("kelvo.trace")); }

  // Runs zandor with the world's settings home. With killAfterMs, it is
  // killed (SIGKILL) that long after its start unless it ended before.
  ZandorRun RunZandor(const QStringList& arguments, std::optional<int> killAfterMs = {},
                      int waitMs = 120000);
  // Starts zandor and leaves it running (for measurements while it waits).
  bool StartZandor(ChildProcess& process, const QStringList& arguments);

 private:
  QStringList Environment() const;

  QString zandorExe_;
  QString kelvoSimExe_;
  QTemporaryDir dir_;
  MaildirBuilder mail_;
  std::unique_ptr<ChildProcess> kelvo_;
};

}  // namespace zandor::testing
