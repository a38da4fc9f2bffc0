#include "link/link.h"

namespace zandor {

Link::Link(SerialLine& line, LinkWaits& waits) : line_(line), waits_(waits) {
  line_.SetEventHandler([this](const LineEvent& event) {
    const bool fault = event.kind == LineEvent::Kind::DeviceLost ||
                       (event.kind == LineEvent::Kind::Error && event.code > 1000);
    if (!fault) return;  // the line's notices are not errors
    fault_ = event;
    waits_.LineFault(event);
  });
}

Link::~Link() {
  line_.SetEventHandler({});
}

void Link::Write(const QByteArray& bytes) {
  line_.Write(bytes);
}

Reply Link::Ended() {
  // Once the line failed, every break of this link is the fault's.
  Reply reply;
  if (fault_) {
    reply.end = Reply::End::LineFault;
    reply.fault = fault_;
  }
  return reply;
}

Reply Link::ReadReply() {
  while (!waits_.BreakRequested()) {
    QByteArray result = line_.ReadAll();
    // After a read that brought something the Kelvo sends nothing more until we
    // answer, so the yield must not wait for another event.
    waits_.Yield(result.isEmpty() ? YieldMode::WaitForEvents : YieldMode::Poll);
    if (!result.isEmpty()) return Reply{Reply::End::Bytes, std::move(result), std::nullopt};
  }
  return Ended();
}

Reply Link::ReadExact(int n) {
  QByteArray buffer;
  while (!waits_.BreakRequested()) {
    const QByteArray piece = line_.ReadAll();
    buffer += piece;
    if (buffer.size() > n) return Reply{Reply::End::TooMany, std::move(buffer), std::nullopt};
    // Waiting for the next event is right only while bytes are still missing;
    // a count already reached (n == 0) must not block on a silent line.
    const bool stillMissing = buffer.size() < n;
    waits_.Yield(piece.isEmpty() && stillMissing ? YieldMode::WaitForEvents : YieldMode::Poll);
    if (buffer.size() == n) return Reply{Reply::End::Bytes, std::move(buffer), std::nullopt};
  }
  return Ended();
}

}  // namespace zandor
