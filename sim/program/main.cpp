// kelvo-sim: the Kelvo handheld on a pseudo-terminal or a serial port.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "model/kelvo_device.h"
#include "server.h"
#include "sim_options.h"
#include "sim_trace.h"

namespace {

using namespace zandor::sim;

// The stop pipe's writing end, for the signal handler.
volatile sig_atomic_t stopFd = -1;

extern "C" void OnStopSignal(int) {
  const int savedErrno = errno;
  const int fd = stopFd;
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

void Log(const QString& text) {
  std::fprintf(stderr, "kelvo-sim: %s\n", text.toLocal8Bit().constData());
  std::fflush(stderr);
}

void Announce(const QString& path) {
  std::printf("%s\n", path.toLocal8Bit().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const ParsedSimOptions parsed = ParseSimOptions(arguments);
  if (!parsed.options) {
    Log(parsed.error + QStringLiteral("\nTry 'kelvo-sim --help' for more information."));
    return 2;
  }
  const SimOptions& options = *parsed.options;
  if (options.mode == SimOptions::Mode::Help) {
    std::fputs(SimUsageText().toLocal8Bit().constData(), stdout);
    return 0;
  }

  KelvoDevice device;
  if (!options.dataPath.isEmpty() && QFileInfo::exists(options.dataPath)) {
    if (const std::optional<QString> error = device.LoadFile(options.dataPath)) {
      Log(QStringLiteral("cannot read %1: %2").arg(options.dataPath, *error));
      return 2;
    }
  }
  for (const Fault& fault : options.faults) device.AddFault(fault);

  SimTrace trace;
  if (!options.tracePath.isEmpty()) {
    if (const std::optional<QString> error = trace.Open(options.tracePath, options.traceTimes)) {
      Log(QStringLiteral("cannot write %1: %2").arg(options.tracePath, *error));
      return 2;
    }
  }

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
    Log(QStringLiteral("cannot make a pipe"));
    return 1;
  }
  const UniqueFd stopRead(pipeFds[0]);
  const UniqueFd stopWrite(pipeFds[1]);
  stopFd = stopWrite.Get();
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);

  Server server(options, device, trace, Log, Announce);
  if (!server.Start()) return 1;
  server.Save();  // a data file named but missing is created at once
  const int status = server.Run(stopRead.Get());
  stopFd = -1;
  return status;
}
