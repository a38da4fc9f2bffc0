#pragma once

#include <QByteArray>

#include "sync/sync_context.h"

namespace zandor {

// The dialogue's waits for the Kelvo. A wait that a break ends writes Abort
// and shows "      User Break      " (or the break's reason, when nobody asked
// for it), whichever wait it is; one that a line
// fault ends writes Abort only, the fault having been told as it happened.
// Every other answer goes back to the caller to judge.

// What the first non-empty read brought; empty after a break.
QByteArray AwaitReply(SyncContext& context);
// Exactly n bytes; empty when more came (silently) or after a break.
QByteArray AwaitExact(SyncContext& context, int n);
// A length field from the Kelvo, as ReadLengthField collects it; empty after
// a break.
QByteArray AwaitLengthField(SyncContext& context);

// How the Kelvo answered where the dialogue expects its Ack.
enum class AckOutcome { Acked, Refused, Broken };

// Waits for the Kelvo's Ack. Anything else (nothing, another byte, Ack with
// more) shows the "Comm Err <errorNumber>" box and is Refused. A break wins over
// whatever arrived: Broken, with no box but the wait's own.
AckOutcome ExpectAck(SyncContext& context, int errorNumber);

// The same wait where a wrong answer is told even after a break (the answer
// to the send phase's closing CmdEnd). True for Ack.
bool ExpectAckEvenAfterBreak(SyncContext& context, int errorNumber);

// "Comm Err <number>" with what it means and what to try, unless a break
// ended the wait: its box has told it.
void ShowCommError(SyncContext& context, int number);

}  // namespace zandor
