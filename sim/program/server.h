#pragma once

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

#include "model/kelvo_device.h"
#include "pacer.h"
#include "sim_options.h"
#include "sim_trace.h"
#include "terminal.h"

namespace zandor::sim {

// Serves the Kelvo on its end of the line, synchronisation after
// synchronisation, until the stop descriptor becomes readable.
//
// One thread, one poll(): it never spins. While no PC holds the pseudo-
// terminal (the master reads as hung up), it waits for the slave's opening
// (inotify), and looks again ten times a second in case that was missed.
// The PC opening the line, closing it (or dying) and the Kelvo's own hang-up
// each restart the dialogue with a handshake. The data file is saved after
// each synchronisation, when the PC closes the line, and at the end.
class Server {
 public:
  using Log = std::function<void(const QString&)>;
  // Called with the path of each pseudo-terminal opened (the first and those
  // after a hang-up).
  using Announce = std::function<void(const QString&)>;

  Server(const SimOptions& options, KelvoDevice& device, SimTrace& trace, Log log,
         Announce announce);

  // Opens the line; false (with the reason logged) when it cannot.
  bool Start();
  // Runs until stopFd is readable or the line is lost for good; returns the
  // exit status.
  int Run(int stopFd);
  // Saves the data file when it changed; false when it could not be written.
  bool Save();

 private:
  void LineOpened();
  void LineClosed(const QString& why);
  void Feed(const QByteArray& bytes);
  void AfterDevice();
  bool ReadLine(Pacer::Clock::time_point now);
  // Reads what is left on a line that was closed, at once.
  void Drain();
  void WriteLine(Pacer::Clock::time_point now);
  bool ReopenAfterHangUp();
  // True while no PC holds the pseudo-terminal.
  bool ProbeClosed() const;

  const SimOptions& options_;
  KelvoDevice& device_;
  SimTrace& trace_;
  Log log_;
  Announce announce_;
  DeviceEnd end_;
  UniqueFd opening_;  // inotify: the PC opens the pseudo-terminal's slave
  bool waitingForPc_ = false;
  QByteArray pending_;     // the Kelvo's bytes not yet on the line
  bool midPiece_ = false;  // the PC's bytes since the Kelvo last spoke began
  std::optional<Pacer::Clock::time_point> batchDue_;  // when the next burst is in
  Pacer inputPace_;
  Pacer outputPace_;
  int completed_ = 0;
  int violationsSeen_ = 0;
  QJsonObject saved_;
};

}  // namespace zandor::sim
