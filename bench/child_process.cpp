#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace zandor::testing {
namespace {

long long SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

QString ChildEnd::Outcome() const {
  return exited ? QStringLiteral("exit %1").arg(exitCode) : QStringLiteral("signal %1").arg(signal);
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    ::kill(pid_, SIGKILL);
    Reap(true);
  }
  if (pidFd_ >= 0) ::close(pidFd_);
}

bool ChildProcess::Start(const QString& program, const QStringList& arguments,
                         const QStringList& environment, const QString& outFile,
                         const QString& errFile) {
  const QByteArray path = QFile::encodeName(program);
  std::vector<QByteArray> argStore{path};
  for (const QString& argument : arguments) argStore.push_back(argument.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& argument : argStore) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<QByteArray> envStore;
  for (const QString& entry : environment) envStore.push_back(entry.toLocal8Bit());
  std::vector<char*> envp;
  for (QByteArray& entry : envStore) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const QByteArray out = QFile::encodeName(outFile);
  const QByteArray err = QFile::encodeName(errFile);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  // The child starts with default signal dispositions and nothing blocked,
  // whatever the test runner set for itself.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all;
  sigset_t none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  startNs_ = SteadyNs();
  const int failed =
      posix_spawn(&pid_, path.constData(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) {
    pid_ = -1;
    error_ = QStringLiteral("cannot start %1: %2")
                 .arg(program, QString::fromLocal8Bit(strerror(failed)));
    return false;
  }
  ended_ = false;
  // A pidfd turns readable when the child ends; -1 on an old kernel, where
  // WaitForEnd then sleeps in steps.
  pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
  return true;
}

bool ChildProcess::Reap(bool block) {
  int status = 0;
  rusage usage{};
  const pid_t done = ::wait4(pid_, &status, block ? 0 : WNOHANG, &usage);
  if (done != pid_) return false;
  ended_ = true;
  end_.wallSeconds = static_cast<double>(SteadyNs() - startNs_) / 1e9;
  end_.exited = WIFEXITED(status);
  end_.exitCode = end_.exited ? WEXITSTATUS(status) : -1;
  end_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  end_.userSeconds = Seconds(usage.ru_utime);
  end_.systemSeconds = Seconds(usage.ru_stime);
  end_.maxRssKb = usage.ru_maxrss;
  return true;
}

bool ChildProcess::WaitForEnd(int waitMs) {
  if (pid_ <= 0) return false;
  if (ended_) return true;
  const long long deadline = SteadyNs() + static_cast<long long>(waitMs) * 1'000'000;
  while (!Reap(false)) {
    const long long left = deadline - SteadyNs();
    if (left <= 0) return false;
    const int stepMs = static_cast<int>(std::min<long long>(left / 1'000'000 + 1, 1000));
    if (pidFd_ >= 0) {
      pollfd readable{pidFd_, POLLIN, 0};
      ::poll(&readable, 1, stepMs);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(stepMs, 5)));
    }
  }
  return true;
}

void ChildProcess::Signal(int signal) {
  if (Running()) ::kill(pid_, signal);
}

double ChildProcess::ElapsedMs() const {
  return static_cast<double>(SteadyNs() - startNs_) / 1e6;
}

QString ReadTextFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

bool WaitUntil(const std::function<bool()>& done, int waitMs) {
  const long long deadline = SteadyNs() + static_cast<long long>(waitMs) * 1'000'000;
  while (!done()) {
    if (SteadyNs() >= deadline) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

double ProcessCpuSeconds(pid_t pid) {
  QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray stat = file.readAll();
  // The command name may hold blanks: the fields count from after its ')'.
  const qsizetype close = stat.lastIndexOf(')');
  if (close < 0) return -1;
  const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
  // utime and stime are fields 14 and 15 of the line, 12 and 13 after ')'.
  if (fields.size() < 13) return -1;
  const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
  return (fields[11].toDouble() + fields[12].toDouble()) / ticks;
}

}  // namespace zandor::testing
