#include "delay_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <deque>
#include <list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zandor::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct Fd {
  explicit Fd(int value) : fd(value) {}
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int fd;
};

sockaddr_in Loopback(quint16 port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Small writes go out at once: the delay is the proxy's, not Nagle's.
void Prepare(int fd) {
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// What one side sent, to be handed to the other side at `due`; an empty
// chunk stands for the end of the side's stream.
enum class After { Nothing, Cut, Stall };  // what the fault pattern, ending a chunk, does
struct Chunk {
  Clock::time_point due;
  std::string bytes;
  After after = After::Nothing;
};

// One direction of a connection.
struct Stream {
  std::deque<Chunk> queue;
  size_t offset = 0;   // of the front chunk, already written
  bool ended = false;  // its source closed: nothing more to read
  std::string seen;    // the end of what came, for a pattern split between reads
  bool Due(Clock::time_point now) const { return !queue.empty() && queue.front().due <= now; }
};

struct Connection {
  Connection(int clientFd, int serverFd, size_t number)
      : client(clientFd), server(serverFd), index(number) {}
  Fd client, server;
  Stream up, down;  // client to server, server to client
  bool closed = false;
  bool stalled = false;  // nothing more goes to the client
  size_t index;          // among the connections accepted
  std::string tail;  // the end of what the client sent, for a counted pattern split between reads
};

// How often the pattern is in what a client sent last, once split between
// this read and the one before included; tail keeps the end for the next.
int Occurrences(const std::string& pattern, const std::string& bytes, std::string& tail) {
  const std::string text = tail + bytes;
  int found = 0;
  for (size_t at = text.find(pattern); at != std::string::npos;
       at = text.find(pattern, at + pattern.size())) {
    ++found;
  }
  tail = text.substr(text.size() - std::min(text.size(), pattern.size() - 1));
  return found;
}

enum class Step { Going, Closed, Cut, Stall };

// The fault to come, as the proxy's thread took it.
struct Fault {
  std::optional<QByteArray> cutAt;
  bool withheld = false;
  bool fromServer = false;  // only the server's words trigger it
  std::string say;          // to the client in place of the pattern and what follows
  After then = After::Cut;
  std::vector<std::pair<QByteArray, QByteArray>> rewrites;  // of the server's words
};

void RewriteAll(std::string& bytes,
                const std::vector<std::pair<QByteArray, QByteArray>>& rewrites) {
  for (const auto& [from, to] : rewrites) {
    const std::string pattern = from.toStdString();
    const std::string with = to.toStdString();
    for (size_t at = bytes.find(pattern); at != std::string::npos && !pattern.empty();
         at = bytes.find(pattern, at + with.size())) {
      bytes.replace(at, pattern.size(), with);
    }
  }
}

// Reads what is waiting on `from` into the stream, due oneWay from now;
// fromServer: the server's side.
Step ReadInto(int from, Stream& stream, Clock::time_point due, const Fault& fault,
              bool fromServer) {
  const std::optional<QByteArray>& cutAt =
      fault.fromServer && !fromServer ? std::optional<QByteArray>() : fault.cutAt;
  const bool withheld = fault.withheld;
  if (stream.ended) return Step::Going;
  char buffer[65536];
  const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
  if (got < 0) return errno == EAGAIN || errno == EINTR ? Step::Going : Step::Closed;
  if (got == 0) {
    stream.ended = true;
    stream.queue.push_back({due, {}, After::Nothing});
    return Step::Going;
  }
  Chunk chunk{due, std::string(buffer, static_cast<size_t>(got)), After::Nothing};
  if (fromServer) RewriteAll(chunk.bytes, fault.rewrites);
  if (cutAt && !cutAt->isEmpty()) {
    const std::string pattern = cutAt->toStdString();
    const std::string text = stream.seen + chunk.bytes;
    const size_t at = text.find(pattern);
    if (at != std::string::npos) {
      const size_t end = at + (withheld ? 0 : pattern.size());
      chunk.bytes.resize(end > stream.seen.size() ? end - stream.seen.size() : 0);
      chunk.bytes += fault.say;
      chunk.after = fault.then;
    }
    stream.seen = text.substr(text.size() - std::min(text.size(), pattern.size()));
  }
  stream.queue.push_back(std::move(chunk));
  return Step::Going;
}

// Writes the chunks that are due; Cut (or Stall) when a chunk that ends in
// the fault's pattern went whole, Closed at the end of the stream or on an
// error.
Step WriteDue(int to, Stream& stream, Clock::time_point now) {
  while (stream.Due(now)) {
    Chunk& front = stream.queue.front();
    if (front.bytes.empty()) return Step::Closed;
    const ssize_t put = ::send(to, front.bytes.data() + stream.offset,
                               front.bytes.size() - stream.offset, MSG_NOSIGNAL);
    if (put < 0) return errno == EAGAIN || errno == EINTR ? Step::Going : Step::Closed;
    stream.offset += static_cast<size_t>(put);
    if (stream.offset < front.bytes.size()) return Step::Going;
    const After after = front.after;
    stream.queue.pop_front();
    stream.offset = 0;
    if (after == After::Cut) return Step::Cut;
    if (after == After::Stall) return Step::Stall;
  }
  return Step::Going;
}

}  // namespace

DelayProxy::DelayProxy(quint16 targetPort, std::chrono::milliseconds oneWay)
    : target_(targetPort), oneWay_(oneWay) {
  listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (listen_ < 0 || wake_ < 0 ||
      ::bind(listen_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      ::listen(listen_, 16) != 0) {
    if (listen_ >= 0) ::close(listen_);
    if (wake_ >= 0) ::close(wake_);
    throw std::runtime_error("the delaying proxy cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

DelayProxy::~DelayProxy() {
  stop_ = true;
  Wake();
  thread_.join();
  ::close(listen_);
  ::close(wake_);
}

void DelayProxy::CutAt(const QByteArray& pattern, bool refuseAfter, bool withheld) {
  {
    const std::lock_guard lock(mutex_);
    cutAt_ = pattern;
    refuseAfter_ = refuseAfter;
    withheld_ = withheld;
    say_.clear();
    then_ = Then::Cut;
  }
  Wake();
}

void DelayProxy::BreakAt(const QByteArray& pattern, const QByteArray& say, Then then,
                         bool refuseAfter) {
  {
    const std::lock_guard lock(mutex_);
    cutAt_ = pattern;
    refuseAfter_ = refuseAfter;
    withheld_ = true;
    say_ = say.isNull() ? QByteArray("") : say;  // not null: the server's words alone trigger it
    then_ = then;
  }
  Wake();
}

void DelayProxy::Rewrite(const QByteArray& from, const QByteArray& to) {
  {
    const std::lock_guard lock(mutex_);
    rewrites_.emplace_back(from, to);
  }
  Wake();
}

void DelayProxy::Count(const QByteArray& pattern) {
  const std::lock_guard lock(mutex_);
  counted_ = pattern.toStdString();
}

std::vector<int> DelayProxy::Sent() const {
  const std::lock_guard lock(mutex_);
  return sent_;
}

void DelayProxy::Wake() const {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
}

void DelayProxy::Run() {
  std::list<Connection> connections;
  while (!stop_) {
    const Clock::time_point now = Clock::now();
    // Sleep until a side has something to say or a chunk falls due.
    std::vector<pollfd> polled{{wake_, POLLIN, 0}, {listen_, POLLIN, 0}};
    std::optional<Clock::time_point> next;
    const auto wait = [&](int fd, const Stream& in, const Stream& out) {
      pollfd entry{fd, static_cast<short>(in.ended ? 0 : POLLIN), 0};
      if (out.Due(now)) entry.events |= POLLOUT;
      if (!out.queue.empty() && !out.Due(now)) {
        next = std::min(next.value_or(Clock::time_point::max()), out.queue.front().due);
      }
      polled.push_back(entry);
    };
    for (Connection& c : connections) {
      wait(c.client.fd, c.up, c.down);
      wait(c.server.fd, c.down, c.up);
      // A stalled server's words are neither read nor passed on.
      if (c.stalled) polled.back().fd = -1;
    }
    int timeout = -1;
    if (next) {
      timeout = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*next - now).count());
    }
    ::poll(polled.data(), polled.size(), timeout);

    uint64_t woken = 0;
    while (::read(wake_, &woken, sizeof woken) > 0) {
    }
    Fault fault;
    std::string counted;
    {
      const std::lock_guard lock(mutex_);
      fault.cutAt = cutAt_;
      fault.withheld = withheld_;
      fault.fromServer = !say_.isNull();
      fault.say = say_.toStdString();
      fault.then = then_ == Then::Stall ? After::Stall : After::Cut;
      fault.rewrites = rewrites_;
      counted = counted_;
      if (cutAt_ && cutAt_->isEmpty()) cutAt_.reset();
    }
    bool cut = fault.cutAt && fault.cutAt->isEmpty();

    for (int fd; (fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      ++accepted_;
      size_t index = 0;
      {
        const std::lock_guard lock(mutex_);
        index = sent_.size();
        sent_.push_back(0);
      }
      Fd client(fd);
      if (refuse_) continue;
      Fd server(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
      const sockaddr_in address = Loopback(target_);
      if (::connect(server.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        continue;
      }
      Prepare(client.fd);
      Prepare(server.fd);
      connections.emplace_back(std::exchange(client.fd, -1), std::exchange(server.fd, -1), index);
    }

    const Clock::time_point due = Clock::now() + oneWay_;
    for (Connection& c : connections) {
      const auto go = [&](Step step) {
        if (step == Step::Closed) c.closed = true;
        if (step == Step::Cut) cut = true;
        if (step == Step::Stall) {
          c.stalled = true;
          const std::lock_guard lock(mutex_);
          cutAt_.reset();
          refuse_ = refuseAfter_;
        }
      };
      const size_t queued = c.up.queue.size();
      go(ReadInto(c.client.fd, c.up, due, fault, false));
      if (!counted.empty() && c.up.queue.size() > queued) {
        if (const int found = Occurrences(counted, c.up.queue.back().bytes, c.tail); found > 0) {
          const std::lock_guard lock(mutex_);
          sent_[c.index] += found;
        }
      }
      if (c.stalled) {
        go(WriteDue(c.server.fd, c.up, Clock::now()));
        continue;
      }
      go(ReadInto(c.server.fd, c.down, due, fault, true));
      go(WriteDue(c.server.fd, c.up, Clock::now()));
      go(WriteDue(c.client.fd, c.down, Clock::now()));
    }
    if (cut) {
      const std::lock_guard lock(mutex_);
      cutAt_.reset();
      refuse_ = refuseAfter_;
      connections.clear();
    }
    connections.remove_if([](const Connection& c) { return c.closed; });
  }
}

}  // namespace zandor::testing
