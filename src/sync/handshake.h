#pragma once

namespace zandor {

class Link;

// Opens the dialogue: writes Ack and waits for the Kelvo's answer. True only
// when the answer is exactly one Ack; two Acks read together, any other byte,
// or the empty text of a break are all a failed handshake, which the caller
// reports. No retry and no time limit.
bool Handshake(Link& link);

}  // namespace zandor
