#pragma once

#include <QString>

#include "session/folder_view.h"

namespace zandor {

// What the phases need of "the window". The main window implements it, the
// headless run prints instead, and tests record. All calls come from the one
// thread that runs the synchronisation.
class Host {
 public:
  // How a yield may wait: Poll processes what is pending and returns at once;
  // WaitForEvents may sleep until the next event (serial data, a click, a
  // timer) when nothing is pending. Waits use WaitForEvents after a read that
  // brought nothing, so that a silent Kelvo costs no CPU.
  enum class YieldMode { Poll, WaitForEvents };

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

  // A message that could not be read was skipped (the summary counts it);
  // the reason names its file and the cause. The window shows nothing more.
  virtual void NoteSkipped(const QString& reason) { static_cast<void>(reason); }
};

}  // namespace zandor
