#include "sync/handshake.h"

#include "link/link.h"
#include "link/protocol.h"

namespace zandor {

bool Handshake(Link& link) {
  link.Write(protocol::Ack);
  return link.ReadReply() == QByteArray(1, protocol::Ack);
}

}  // namespace zandor
