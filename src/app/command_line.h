#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zandor {

// What the command line asks for.
struct CommandLine {
  enum class Mode { Window, Sync, Watch, Help, Version };
  Mode mode = Mode::Window;
  // The window's three check boxes that are never stored: full
  // synchronisation, removal from the Kelvo, removal from the mail.
  bool full = false;
  bool removeFromKelvo = false;
  bool removeFromMail = false;
  // Answer Yes to every confirmation.
  bool yes = false;
  // Act as &Break after this many seconds of silence from the Kelvo; 0: never.
  // The default bound keeps a run from a script or cron from hanging for good.
  int timeoutSeconds = 30;
  // Where to write the transcript of the line; empty: nowhere.
  QString tracePath;
  // Print every change of the status lines, also on a terminal.
  bool verbose = false;
  // The window opens with its Details showing this run log; empty: none.
  QString detailsPath;
};

// The command line, or why it cannot be used.
struct ParsedCommandLine {
  std::optional<CommandLine> line;
  QString error;
};

// Reads the arguments (without the program name). The synchronisation flags
// are only accepted with --sync.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);

// True when the arguments ask for a run without a window (--sync, --watch,
// --help, --version), so that no display is needed even to report a usage error.
bool WantsNoWindow(const QStringList& arguments);

// The arguments without those Qt takes for itself when the window starts
// (-platform xcb, -style Fusion, -reverse, ...), so that ours can be judged
// before a display is looked for.
QStringList WithoutQtOptions(const QStringList& arguments);

// The text of --help.
QString UsageText();

}  // namespace zandor
