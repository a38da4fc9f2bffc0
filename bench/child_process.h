#pragma once

// A program started as a child process for the line benchmarks: its standard
// output and error go to files, and its end is waited for with the kernel's
// own accounting (wait4), so that its CPU time and peak memory are known
// exactly. QProcess reaps its children itself and keeps none of that. Nothing
// here reads the clock of the day; waits are bounds, on the steady clock.

#include <sys/types.h>

#include <QString>
#include <QStringList>
#include <functional>

namespace zandor::testing {

// How a child ended.
struct ChildEnd {
  bool exited = false;  // by exit(): exitCode holds its status
  int exitCode = -1;
  int signal = 0;  // the signal that ended it, 0 when it exited
  double wallSeconds = 0;
  double userSeconds = 0;
  double systemSeconds = 0;
  long maxRssKb = 0;

  double CpuSeconds() const { return userSeconds + systemSeconds; }
  QString Outcome() const;  // "exit 0", "signal 9", ...
};

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();  // kills a child still running (SIGKILL) and reaps it
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program with the arguments in the environment ("NAME=value"
  // entries). Standard input is /dev/null. False with the reason in Error() when it
  // cannot be started.
  bool Start(const QString& program, const QStringList& arguments, const QStringList& environment,
             const QString& outFile, const QString& errFile);

  bool Running() const { return pid_ > 0 && !ended_; }
  pid_t Pid() const { return pid_; }
  const QString& Error() const { return error_; }

  // Waits at most waitMs for the child to end; true once it has. Sleeps in
  // poll() on a pidfd, so the waiting costs no CPU.
  bool WaitForEnd(int waitMs);
  // Sends a signal to a running child.
  void Signal(int signal);
  // The end, valid once WaitForEnd returned true.
  const ChildEnd& End() const { return end_; }
  // Milliseconds since Start on the steady clock.
  double ElapsedMs() const;

 private:
  bool Reap(bool block);

  pid_t pid_ = -1;
  int pidFd_ = -1;
  bool ended_ = false;
  long long startNs_ = 0;
  QString error_;
  ChildEnd end_;
};

// Reads a text file whole (empty when it cannot be read).
QString ReadTextFile(const QString& path);

// Waits (sleeping in small steps) until done() holds or waitMs passed; returns
// done()'s last answer.
bool WaitUntil(const std::function<bool()>& done, int waitMs);

// The CPU seconds (user + system) a running process has used so far, from
// /proc/PID/stat; negative when it cannot be read.
double ProcessCpuSeconds(pid_t pid);

}  // namespace zandor::testing
