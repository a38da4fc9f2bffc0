#include "sync/handshake.h"

#include "link/protocol.h"
#include "sync/replies.h"

namespace zandor {

bool Handshake(SyncContext& context) {
  context.host.ShowProgress({Progress::Stage::Handshake, {}, 0, 0});
  context.link.Write(protocol::Ack);
  return AwaitReply(context) == QByteArray(1, protocol::Ack);
}

}  // namespace zandor
