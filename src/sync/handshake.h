#pragma once

namespace zandor {

struct SyncContext;

// Opens the dialogue: writes Ack and waits for the Kelvo's answer. True only
// when the answer is exactly one Ack; two Acks read together, any other byte,
// or a break are all a failed handshake, which the caller reports. No retry
// and no time limit.
bool Handshake(SyncContext& context);

}  // namespace zandor
