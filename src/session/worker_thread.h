#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>

namespace zandor {

// One thread that runs the work handed to it in turn. Handing work over wakes
// a thread that is already there, which costs far less than starting one: the
// work handed over between two messages on the line must not delay them.
// The destructor lets the work handed over end, then joins the thread.
class WorkerThread {
 public:
  WorkerThread() : thread_([this] { Serve(); }) {}
  ~WorkerThread() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Queues the work; its result, or what it threw, comes through the future.
  template <class Work>
  auto Run(Work work) -> std::future<std::invoke_result_t<Work>> {
    auto task = std::make_shared<std::packaged_task<std::invoke_result_t<Work>()>>(std::move(work));
    auto result = task->get_future();
    {
      const std::lock_guard lock(mutex_);
      queue_.emplace_back([task] { (*task)(); });
    }
    wake_.notify_one();
    return result;
  }

 private:
  void Serve() {
    for (;;) {
      std::function<void()> work;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;
        work = std::move(queue_.front());
        queue_.pop_front();
      }
      work();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;  // under mutex_
  bool stopping_ = false;                    // under mutex_
  std::thread thread_;                       // last: starts when the rest is ready
};

}  // namespace zandor
