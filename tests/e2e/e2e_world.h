#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "support/maildir_builder.h"

namespace zandor::testing {

// What one run of a program left behind.
struct ProcessRun {
  bool finished = false;  // false: it had to be killed when the wait ran out
  int exitCode = -1;
  bool crashed = false;  // ended by a signal
  QString out;
  QString err;
};

// A message written on the Kelvo, as the data file holds it (Western text).
struct KelvoWritten {
  QString subject;
  QString to;
  QString body;
};

// The world of one end-to-end test, all in one temporary folder: a settings
// home of its own, a Maildir, the Kelvo's data file, and the real programs
// (kelvo-sim on a pseudo-terminal, zandor --sync) started as processes.
// Waits are generous bounds; nothing here asserts on time.
class E2eWorld {
 public:
  E2eWorld();
  ~E2eWorld();

  bool Valid() const { return dir_.isValid(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  MaildirBuilder& Mail() { return mail_; }
  QString MaildirRoot() const { return mail_.Root(); }

  // The Kelvo's data file before the simulator starts.
  void WriteKelvoData(const std::vector<KelvoWritten>& written,
                      const QJsonArray& held = QJsonArray());
  QJsonObject ReadKelvoData() const;
  void WriteKelvoData(const QJsonObject& data);

  // Starts kelvo-sim --pty with the data file, a transcript and the extra
  // arguments, and points "Com 1" at its pseudo-terminal. Returns the path,
  // empty when it did not come up.
  QString StartKelvo(const QStringList& extra = {});
  // The next pseudo-terminal the simulator announces (after a hang-up), and
  // "Com 1" pointed at it; empty when none came.
  QString NextKelvoLine();
  // Stops the simulator the way a user does (SIGTERM) and returns its run;
  // it saves its data file on the way out.
  ProcessRun StopKelvo();
  // Waits until the simulator's log holds the text (count times).
  bool WaitForKelvoLog(const QString& text, int count = 1);
  QString KelvoLog() const { return kelvoErr_; }

  // Settings: Com 1 -> the device, the mail folder, "All" as the range.
  void WriteSettings(const QString& portPath);
  void WriteSetting(const QString& section, const QString& key, const QString& value);

  // Runs zandor with the arguments and the world's settings home. When
  // killWhen is given, it is asked with the output gathered so far and the
  // program is killed (SIGKILL) as soon as it answers true.
  ProcessRun RunZandor(const QStringList& arguments,
                       const std::function<bool(const QString& out)>& killWhen = {},
                       int waitMs = 120000);
  // Starts zandor and sends it SIGINT once its output holds the text.
  ProcessRun RunZandorAndInterrupt(const QStringList& arguments, const QString& when);

  // The unique names of the messages in a folder of the Maildir (cur/ and
  // new/), and the subjects of the messages there.
  QStringList UniqueNamesIn(const QString& folderDir) const;
  QStringList SubjectsIn(const QString& folderDir) const;

 private:
  void ReadKelvoOutput(int waitMs);

  QTemporaryDir dir_;
  MaildirBuilder mail_;
  std::unique_ptr<QProcess> kelvo_;
  QByteArray kelvoOut_;
  QString kelvoErr_;
};

// The status lines a run printed last: the four "[N] text" lines at its end.
QStringList FinalStatus(const QString& out);

// The entry ids the Kelvo holds, in its order (one per part).
QStringList HeldEntryIds(const QJsonObject& data);
// The held records whose entry id is the one given.
std::vector<QJsonArray> HeldRecords(const QJsonObject& data, const QString& entryId);

}  // namespace zandor::testing
