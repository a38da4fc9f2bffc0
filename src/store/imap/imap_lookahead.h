#pragma once

// Helper sessions that read a run's mail ahead, private to the IMAP store.
//
// Each command costs a round trip to the server, and libetpan sends one at a
// time: on one session, listing three mailboxes and fetching their messages
// is nine round trips in a row before the port opens. A few more sessions of
// the same account, each on a thread of its own, do that work side by side.
// They only read (EXAMINE, BODY.PEEK), and they are never needed: whatever
// fails on them (a login refused for too many connections, a lost line) is
// done again on the run's own session, which tells the failure.

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "store/imap/imap_account.h"
#include "store/imap/imap_commands.h"
#include "store/mail_store.h"

namespace zandor::imap {

// The helpers of one run.
class Lookahead {
 public:
  // Starts `sessions` helpers at once: each connects and gets ready to log
  // in (TLS, the certificate), and logs in once allowed, at once when
  // allowed is true. A server that limits the sessions of one user counts
  // only those logged in: the run's own logs in first, so that a helper
  // never takes its place.
  Lookahead(const Account& account, int sessions, bool allowed);
  // Stops the helpers and waits for each to end the command it has in
  // flight and log out.
  ~Lookahead();
  Lookahead(const Lookahead&) = delete;
  Lookahead& operator=(const Lookahead&) = delete;

  // The run's own session has logged in: the helpers may. Any thread.
  void AllowLogIns();
  // Starts listing the mailboxes for the day, dealt out in turn to the
  // helpers; those left without one log out. Called once.
  void List(const QStringList& mailboxes, std::optional<QDate> since);
  // The mailbox's listing, waiting for it; nullopt when it was not asked for,
  // failed or was dropped. Each listing is taken once.
  std::optional<Listing> TakeListing(const QString& mailbox);
  // Fetches the whole messages on the helper that listed the mailbox, unless
  // it was renumbered since; nullopt when no helper can (the caller fetches
  // them itself). The future gives nullopt when the fetch failed or was
  // dropped: the caller then fetches them too.
  std::optional<std::future<Wholes>> FetchWhole(const QString& mailbox, uint32_t uidValidity,
                                                std::vector<uint32_t> uids);
  // Nothing more is read ahead: each helper ends with the command it has in
  // flight, then logs out; the work it had not begun is dropped, answered at
  // once with nothing. Any thread may call it; it waits for nothing.
  void Stop();

 private:
  class Helper;
  std::vector<std::unique_ptr<Helper>> helpers_;
  struct Pending {
    Helper* helper;
    std::future<std::optional<Listing>> listing;
  };
  std::map<QString, Pending> listings_;
  std::map<QString, Helper*> listedBy_;
  std::atomic<bool> stopped_{false};
};

// What a listing or a text of a run being broken off gives: nothing more is
// read for it.
inline StoreFailure Stopped() {
  return {FailureKind::Gone,
          QCoreApplication::translate("ImapLookahead", "the synchronisation was stopped")};
}

// The store's read-ahead, run after run: the helpers of the run that reads
// ahead, if one does, and those started for the run to come. A run's helpers
// go when the next run starts its own, or the store goes; collections, which
// may be kept longer, reach them through this. The store's thread starts,
// uses and ends them; the handle a run is given stops them from any thread.
class Lookaheads {
 public:
  Lookaheads() = default;
  ~Lookaheads() {
    End();
    DropExpected();
  }
  Lookaheads(const Lookaheads&) = delete;
  Lookaheads& operator=(const Lookaheads&) = delete;

  // A run is coming: its helpers start connecting now, beside the run's own
  // session, and log in once AllowLogIns is called. Nothing when they are
  // started already.
  void Expect(const Account& account, int sessions);
  // The run's own session is logged in: the helpers expected may log in.
  void AllowLogIns();
  // The helpers expected, if any, go (without waiting for them).
  void DropExpected();
  // Ends the helpers there were, then sets these to list the mailboxes: the
  // ones expected, else as many new ones, up to one a mailbox. The handle
  // stops them, when cancelled or destroyed, without waiting for them; it
  // must not outlive this.
  std::unique_ptr<ReadingAhead> Start(const Account& account, const QStringList& mailboxes,
                                      std::optional<QDate> since, int sessions);
  // Stops the helpers of the last run, if any, and waits for each to end its
  // command in flight; those expected for the next run stay.
  void End();
  // The helpers of the run; null when there are none. On the store's thread.
  Lookahead* Current() const { return current_.get(); }
  // The run's read-ahead was cancelled and its handle still lives: the run
  // is being broken off, and nothing more is read for it.
  bool Cancelled() const { return cancelled_; }

 private:
  class Handle;
  // Stops the helpers of the run, unless others took their place; cancelled:
  // for a run being broken off.
  void Stop(uint64_t run, bool cancelled = false);

  std::mutex mutex_;
  std::unique_ptr<Lookahead> current_;  // changed under mutex_, on the store's thread
  uint64_t run_ = 0;                    // under mutex_
  std::atomic<bool> cancelled_{false};
  // The store's thread's own: the helpers of the run to come, and the ones
  // dropped unused, which are waited for at the next End.
  std::unique_ptr<Lookahead> expected_;
  std::vector<std::unique_ptr<Lookahead>> dropped_;
};

}  // namespace zandor::imap
