#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "session/folder_view.h"
#include "session/yield_mode.h"

namespace zandor {

// Where a synchronisation is, as the phases report it.
struct Progress {
  enum class Stage {
    Handshake,  // opening the dialogue
    Receiving,  // the Kelvo uploads and lists: item `index`, 0 while waiting for the first
    Scanning,   // the folder `folder`: message `index` of `count` in range
    Sending,    // part `index` of `count` of the message being sent from `folder`
    Removing,   // removal `index` on the Kelvo; 0 as the phase starts
  };
  Stage stage = Stage::Handshake;
  QString folder;
  int index = 0;
  int count = 0;
  // While scanning and sending: the message under way of those due in every
  // chosen folder (counted before the port opened), and the line time the
  // rest takes at 38,400 baud, in seconds; 0 and -1 when not known.
  int dueIndex = 0;
  int dueCount = 0;
  int secondsLeft = -1;

  bool operator==(const Progress&) const = default;
};

// One thing a synchronisation did to one message, for the details list, the
// log file and --verbose.
struct RunItem {
  enum class Kind { Sent, Received, RemovedFromKelvo, RemovedFromMail, Skipped };
  Kind kind = Kind::Sent;
  QString folder;   // where it is, or where it was filed (Received)
  QString subject;  // or its entry id, when the subject is not known
  int parts = 0;    // Sent: the parts sent in this run, of `count`
  int count = 0;
  QString reason;  // Skipped: why, in words
  // Sent, cut to fit: the bytes of its record that went, of those of its
  // record whole; 0 when it went whole.
  qint64 cutTo = 0;
  qint64 cutFrom = 0;
  // RemovedFromKelvo, one the Kelvo wrote: when it was saved in the mail (to
  // `folder`); invalid otherwise.
  QDateTime writtenOnKelvo{};
};

// What the phases need of "the window". The main window implements it, the
// headless run prints instead, and tests record. All calls come from the one
// thread that runs the synchronisation.
class Host {
 public:
  using YieldMode = zandor::YieldMode;

  virtual ~Host() = default;

  // A message box with the text as it stands, an OK button, no icon and the
  // caption Zandor. Returns when the user closed it.
  virtual void ShowMessage(const QString& text) = 0;
  // A Yes/No box with the same look; true only for Yes.
  virtual bool Confirm(const QString& text) = 0;

  // The four status lines, numbered 1 to 4.
  virtual QString Status(int line) const = 0;
  virtual void SetStatus(int line, const QString& text) = 0;

  // One pass of the event loop: &Break and the line's events run only here.
  virtual void Yield(YieldMode mode = YieldMode::Poll) = 0;

  virtual void SetBusy(bool busy) = 0;
  virtual void SetSyncEnabled(bool enabled) = 0;
  virtual void SetBreakEnabled(bool enabled) = 0;

  virtual FolderView& Folders() = 0;

  // Where the synchronisation is, beside the status lines: progress bars
  // and the terminal's live line follow this, never the status texts.
  virtual void ShowProgress(const Progress& progress) { static_cast<void>(progress); }

  // What happened to one message: sent, received, removed or skipped.
  virtual void Report(const RunItem& item) { static_cast<void>(item); }
  // Runs work that waits on the mail store, which on a server may take
  // seconds. The window runs it on another thread and meanwhile keeps drawing
  // and takes Break (which reaches the work through the session's
  // CancelStoreWork); the work touches nothing of the host. By default it runs
  // here and now.
  virtual void RunAside(const std::function<void()>& work) { work(); }
};

}  // namespace zandor
