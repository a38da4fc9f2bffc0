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

#include <QString>
#include <QStringList>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "store/imap/imap_account.h"
#include "store/imap/imap_commands.h"

namespace zandor::imap {

class Lookahead {
 public:
  using Wholes = imap::Wholes;

  // Starts listing the mailboxes for the day on up to `sessions` helpers,
  // the mailboxes dealt out in turn.
  Lookahead(const Account& account, const QStringList& mailboxes, std::optional<QDate> since,
            int sessions);
  // Lets each helper log out, and waits for the threads.
  ~Lookahead();
  Lookahead(const Lookahead&) = delete;
  Lookahead& operator=(const Lookahead&) = delete;

  // The mailbox's listing, waiting for it; nullopt when it was not asked for
  // or failed. Each listing is taken once.
  std::optional<Listing> TakeListing(const QString& mailbox);
  // Fetches the whole messages on the helper that listed the mailbox, unless
  // it was renumbered since; nullopt when no helper can (the caller fetches
  // them itself).
  std::optional<std::future<Wholes>> FetchWhole(const QString& mailbox, uint32_t uidValidity,
                                                std::vector<uint32_t> uids);
  // Nothing more will be asked: the helpers log out once their work is done,
  // without anyone waiting for them.
  void Finish();

 private:
  class Helper;
  std::vector<std::unique_ptr<Helper>> helpers_;
  struct Pending {
    Helper* helper;
    std::future<std::optional<Listing>> listing;
  };
  std::map<QString, Pending> listings_;
  std::map<QString, Helper*> listedBy_;
  bool finished_ = false;
};

}  // namespace zandor::imap
