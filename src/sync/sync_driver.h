#pragma once

#include "sync/sync_context.h"

namespace zandor {

// How a synchronisation ended, for the headless run's exit status.
enum class SyncEnd {
  Refused,      // a confirmation was answered No: nothing was touched
  StoreFailed,  // the mail store holds no mail or cannot keep its marks: nothing was written
  PortFailed,   // the port could not be opened: nothing was written
  HandshakeFailed,
  Broken,     // a break before the port opened: nothing was written
  Completed,  // the phases ran (errors inside them were shown in boxes)
};

// &Sync: one whole synchronisation, from the confirmations to the closing of
// the port. Returns when it is over; the window stays alive through
// Host::Yield() meanwhile.
SyncEnd RunSynchronisation(SyncSession& session, const SyncEnvironment& environment);

// &Break: only sets the flag; the wait that notices it writes Abort.
inline void RequestBreak(SyncSession& session) {
  session.BreakRequested = true;
  if (session.CancelStoreWork) session.CancelStoreWork();
}

// A break nobody asked for: the wait it ends tells the reason, not a User
// Break. A break already asked for keeps its own.
inline void RequestBreak(SyncSession& session, const QString& reason) {
  if (!session.BreakRequested) session.BreakReason = reason;
  RequestBreak(session);
}

// A gentler break: at once between exchanges, else when the exchange in
// flight has ended, so that the Kelvo never gets a part or gives a message
// twice because an Abort cut off its last Ack.
inline void RequestBreakAfterExchange(SyncSession& session) {
  if (session.ExchangeInFlight) {
    session.BreakAfterExchange = true;
  } else {
    RequestBreak(session);
  }
}

// The activation step: rebuilds the folder tree from the store's Inbox and
// Sent Items, the store read aside from the window. A failure of the store is
// shown in a box and leaves the tree empty.
void RebuildFolderTree(Host& host, MailStore& store, const SettingsStore& settings);

}  // namespace zandor
