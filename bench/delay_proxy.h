#pragma once

// A TCP proxy on 127.0.0.1 in front of a server on this machine: every byte
// reaches the other side a fixed time after it arrived, as over a slow
// network, and every connection can be cut at a chosen moment. The IMAP
// benchmark puts it between zandor and Dovecot; the tests cut connections
// with it. One thread of its own does the forwarding.

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zandor::testing {

class DelayProxy {
 public:
  // Listens on a free port of 127.0.0.1 and forwards each connection to
  // targetPort there, oneWay late in each direction (a round trip costs
  // twice that). Throws when it cannot listen.
  DelayProxy(quint16 targetPort, std::chrono::milliseconds oneWay);
  ~DelayProxy();
  DelayProxy(const DelayProxy&) = delete;
  DelayProxy& operator=(const DelayProxy&) = delete;

  quint16 Port() const { return port_; }
  // Cuts every connection, once, as soon as one side has sent the pattern
  // (it still reaches the other side, what follows it does not; with
  // withheld, neither does the pattern); an empty pattern cuts at once. With
  // refuseAfter, every connection after the cut is closed as soon as it comes.
  void CutAt(const QByteArray& pattern, bool refuseAfter = false, bool withheld = false);
  // As a server that fails in mid-answer, once: as soon as the server has
  // sent the pattern, neither it nor what follows reaches the client; `say`
  // does in their place (a BYE, say, or nothing), then the connection is cut
  // (the ones after it refused with refuseAfter), or with Then::Stall kept
  // open with nothing more forwarded to the client.
  enum class Then { Cut, Stall };
  void BreakAt(const QByteArray& pattern, const QByteArray& say, Then then,
               bool refuseAfter = false);
  // From now on, each `from` the server says reaches the client as `to`, on
  // every connection; a `from` split between two reads is left as it is.
  void Rewrite(const QByteArray& from, const QByteArray& to);
  // The connections accepted so far, refused ones included.
  int Accepted() const { return accepted_; }
  // From now on, counts each time a client sends the pattern (a command, as
  // "BODY.PEEK[]"); Sent tells how often each connection's client did, in
  // the order the connections came, refused ones included.
  void Count(const QByteArray& pattern);
  std::vector<int> Sent() const;

 private:
  void Wake() const;
  void Run();

  int listen_ = -1;
  int wake_ = -1;
  quint16 port_ = 0;
  quint16 target_ = 0;
  std::chrono::milliseconds oneWay_;
  std::atomic<bool> stop_{false};
  bool refuse_ = false;  // the thread's own
  std::atomic<int> accepted_{0};
  mutable std::mutex mutex_;
  std::optional<QByteArray> cutAt_;  // under mutex_
  std::string counted_;              // under mutex_; empty when nothing is counted
  std::vector<int> sent_;            // under mutex_, by connection
  bool refuseAfter_ = false;         // under mutex_
  bool withheld_ = false;            // under mutex_
  QByteArray say_;                   // under mutex_
  Then then_ = Then::Cut;            // under mutex_
  std::vector<std::pair<QByteArray, QByteArray>> rewrites_;  // under mutex_
  std::thread thread_;
};

}  // namespace zandor::testing
