#include "store/imap/imap_lookahead.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <thread>

#include "store/imap/imap_session.h"

namespace zandor::imap {

// One helper session and its thread, which connects at once, logs in once
// allowed, then does the work given to it in turn. After a failure the
// session is dropped, and what follows is answered with nothing. So is what
// is left when the helper stops, and what is given to it after.
class Lookahead::Helper {
 public:
  using Work = std::function<void(mailimap* imap)>;  // null when the session is unusable

  Helper(Account account, bool allowed)
      : account_(std::move(account)), allowed_(allowed), thread_([this] { Serve(); }) {}

  // Ends with the command in flight, not with the queue.
  ~Helper() {
    Stop();
    thread_.join();
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  void Allow() {
    {
      const std::lock_guard lock(mutex_);
      allowed_ = true;
    }
    wake_.notify_one();
  }

  void Give(Work work) {
    {
      std::unique_lock lock(mutex_);
      if (!stopped_) {
        queue_.push_back(std::move(work));
        lock.unlock();
        wake_.notify_one();
        return;
      }
    }
    work(nullptr);
  }

  // From any thread: the work not begun is answered with nothing here, so
  // that no one waits for it.
  void Stop() {
    std::deque<Work> dropped;
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
      dropped.swap(queue_);
    }
    wake_.notify_one();
    for (Work& work : dropped) work(nullptr);
  }

  // On the helper's thread, between the commands of one piece of work:
  // whether to go on.
  bool Going() {
    const std::lock_guard lock(mutex_);
    return !stopped_;
  }

  // On the helper's thread: whether the mailbox is selected, examining it
  // when it is not; the session is dropped when that fails.
  bool Examine(mailimap* imap, const QString& mailbox) {
    if (selected_ == mailbox) return true;
    selected_.clear();
    if (ExamineOn(imap, mailbox, Access::ReadOnly) != MAILIMAP_NO_ERROR) {
      Drop();
      return false;
    }
    selected_ = mailbox;
    return true;
  }

  void Drop() {
    if (session_) session_->Close();
    session_.reset();
  }

 private:
  void Serve() {
    LogIn();
    for (;;) {
      Work work;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopped_ || !queue_.empty(); });
        if (queue_.empty()) break;
        work = std::move(queue_.front());
        queue_.pop_front();
      }
      // Stopped while logging in: the login was the command in flight.
      work(session_ && Going() ? session_->get() : nullptr);
    }
    session_.reset();  // logs out
  }

  // Connects at once, then waits to be allowed to log in; a helper stopped
  // before that leaves without logging in.
  void LogIn() {
    auto ready = Session::Ready(account_);
    if (!ready) return;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopped_ || allowed_; });
      if (stopped_) {
        ready.value()->Close();
        return;
      }
    }
    if (ready.value()->LogIn(account_)) session_ = std::move(ready.value());
  }

  // The helper's thread's own.
  Account account_;
  std::unique_ptr<Session> session_;
  QString selected_;
  // Shared with the threads that give work, allow and stop it.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Work> queue_;
  bool allowed_ = false;
  bool stopped_ = false;
  std::thread thread_;  // last: it starts once the rest is built
};

Lookahead::Lookahead(const Account& account, int sessions, bool allowed) {
  for (int i = 0; i < sessions; ++i) helpers_.push_back(std::make_unique<Helper>(account, allowed));
}

void Lookahead::AllowLogIns() {
  for (const auto& helper : helpers_) helper->Allow();
}

void Lookahead::List(const QStringList& mailboxes, std::optional<QDate> since) {
  const int count =
      std::min<int>(static_cast<int>(helpers_.size()), static_cast<int>(mailboxes.size()));
  // Those left without a mailbox go at once, logged in or not.
  for (size_t i = static_cast<size_t>(count); i < helpers_.size(); ++i) helpers_[i]->Stop();
  for (qsizetype i = 0; i < mailboxes.size() && count > 0; ++i) {
    Helper* helper = helpers_[static_cast<size_t>(i % count)].get();
    auto promise = std::make_shared<std::promise<std::optional<Listing>>>();
    listings_.emplace(mailboxes[i], Pending{helper, promise->get_future()});
    helper->Give([helper, promise, mailbox = mailboxes[i], since](mailimap* imap) {
      std::optional<Listing> listing;
      if (imap != nullptr && helper->Examine(imap, mailbox) && helper->Going()) {
        listing.emplace();
        if (ListOn(imap, since, *listing) != MAILIMAP_NO_ERROR) {
          listing.reset();
          helper->Drop();
        }
      }
      promise->set_value(std::move(listing));
    });
  }
}

Lookahead::~Lookahead() {
  // All stop at once, then each is waited for: the waits overlap.
  Stop();
}

std::optional<Listing> Lookahead::TakeListing(const QString& mailbox) {
  const auto found = listings_.find(mailbox);
  if (found == listings_.end()) return std::nullopt;
  std::optional<Listing> listing = found->second.listing.get();
  if (listing) listedBy_[mailbox] = found->second.helper;
  listings_.erase(found);
  return listing;
}

std::optional<std::future<Wholes>> Lookahead::FetchWhole(const QString& mailbox,
                                                         uint32_t uidValidity,
                                                         std::vector<uint32_t> uids) {
  const auto found = listedBy_.find(mailbox);
  if (stopped_ || found == listedBy_.end()) return std::nullopt;
  Helper* helper = found->second;
  auto promise = std::make_shared<std::promise<Wholes>>();
  std::future<Wholes> wholes = promise->get_future();
  helper->Give([helper, promise, mailbox, uidValidity, uids = std::move(uids)](mailimap* imap) {
    Wholes messages;
    if (imap != nullptr && helper->Examine(imap, mailbox) && helper->Going() &&
        imap->imap_selection_info != nullptr &&
        imap->imap_selection_info->sel_uidvalidity == uidValidity) {
      messages.emplace();
      if (FetchOn(imap, uids, Part::Whole, *messages) != MAILIMAP_NO_ERROR) {
        messages.reset();
        helper->Drop();
      }
    }
    promise->set_value(std::move(messages));
  });
  return wholes;
}

void Lookahead::Stop() {
  stopped_ = true;
  for (const auto& helper : helpers_) helper->Stop();
}

class Lookaheads::Handle final : public ReadingAhead {
 public:
  Handle(Lookaheads& owner, uint64_t run) : owner_(owner), run_(run) {}
  ~Handle() override {
    owner_.Stop(run_);
    owner_.cancelled_ = false;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  void Cancel() override { owner_.Stop(run_, true); }

 private:
  Lookaheads& owner_;
  uint64_t run_;
};

void Lookaheads::Expect(const Account& account, int sessions) {
  if (!expected_) expected_ = std::make_unique<Lookahead>(account, sessions, false);
}

void Lookaheads::AllowLogIns() {
  if (expected_) expected_->AllowLogIns();
}

void Lookaheads::DropExpected() {
  if (!expected_) return;
  expected_->Stop();
  dropped_.push_back(std::move(expected_));
}

std::unique_ptr<ReadingAhead> Lookaheads::Start(const Account& account,
                                                const QStringList& mailboxes,
                                                std::optional<QDate> since, int sessions) {
  End();
  cancelled_ = false;
  std::unique_ptr<Lookahead> started = std::move(expected_);
  if (!started) {
    started = std::make_unique<Lookahead>(
        account, std::min<int>(sessions, static_cast<int>(mailboxes.size())), true);
  }
  // The run's session has listed the mailboxes: it is logged in.
  started->AllowLogIns();
  started->List(mailboxes, since);
  const std::lock_guard lock(mutex_);
  current_ = std::move(started);
  return std::make_unique<Handle>(*this, run_);
}

void Lookaheads::End() {
  std::unique_ptr<Lookahead> ended;
  {
    const std::lock_guard lock(mutex_);
    ended = std::move(current_);
    ++run_;
  }
  // Waited for outside the lock, so that a cancel meanwhile does not wait.
  ended.reset();
  dropped_.clear();
}

void Lookaheads::Stop(uint64_t run, bool cancelled) {
  const std::lock_guard lock(mutex_);
  if (run != run_) return;
  if (cancelled) cancelled_ = true;
  if (current_) current_->Stop();
}

}  // namespace zandor::imap
