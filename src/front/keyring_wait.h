#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

namespace zandor {

// Runs a keyring job until it finishes, or until the wait is over. A job that
// has not finished by then is left to finish on its own and delete itself:
// the keyring's callbacks still hold it, so it must outlive the wait.
// Returns whether it finished; job is empty afterwards when it did not.
template <class Job>
bool RunToEnd(std::unique_ptr<Job>& job, std::optional<std::chrono::milliseconds> wait) {
  job->setAutoDelete(false);
  QEventLoop loop;
  bool finished = false;
  QObject::connect(job.get(), &Job::finished, &loop, [&finished, &loop] {
    finished = true;
    loop.quit();
  });
  if (wait) QTimer::singleShot(*wait, &loop, &QEventLoop::quit);
  job->start();
  loop.exec();
  if (!finished) {
    job->setAutoDelete(true);
    static_cast<void>(job.release());
  }
  return finished;
}

}  // namespace zandor
