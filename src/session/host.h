#pragma once

#include <QString>

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

  bool operator==(const Progress&) const = default;
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

  // A message that could not be read was skipped (the summary counts it);
  // the reason names its file and the cause. The window shows nothing more.
  virtual void NoteSkipped(const QString& reason) { static_cast<void>(reason); }
};

}  // namespace zandor
