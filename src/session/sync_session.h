#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

namespace zandor {

// One entry of the two message lists: the store's entry id of a message and,
// in the device list, the Kelvo's own number of it (8 hexadecimal digits).
struct MessageListEntry {
  QString EntryId;
  QString DeviceId;
};

// The state that all phases of one synchronisation share. The driver resets
// what it owns at the start; each phase resets what it fills. Nothing here
// survives into the next synchronisation except BreakRequested, which stays
// set until the next one starts.
struct SyncSession {
  // &Break was pressed (or Ctrl-C, or the line failed): every wait unwinds.
  bool BreakRequested = false;
  // Why, in words, when nobody asked for it (a Kelvo silent past the limit):
  // the wait it ends says so in place of "User Break".
  QString BreakReason;
  // While the store works on another thread before the port opens: stops
  // that work, from the thread that asks for the break.
  std::function<void()> CancelStoreWork;
  // Set while a record part or a message written on the Kelvo is between its
  // first byte and the Ack that completes it, with its mark saved.
  bool ExchangeInFlight = false;
  // A break asked for while an exchange was in flight, made when it ends.
  bool BreakAfterExchange = false;
  // The subject of the message whose mark the store is still saving, and the
  // box to show when that save failed, once the exchange in flight is over.
  QString SavingMarkOf;
  QString UnsavedMarkBox;
  // Set once a mark that could not be saved was told: nothing more is sent.
  bool UnsavedMarkTold = false;
  // The byte between a record's fields on the wire: 254, or the Dravo
  // conversion's own.
  unsigned char FieldSeparator = 254;
  // The first day of the date range: mail received on or after it is sent.
  QDate DateFilter;

  int SentCount = 0;
  int TruncatedCount = 0;
  int SplitCount = 0;
  int SkippedCount = 0;
  int ReceivedCount = 0;
  int RemovedFromDeviceCount = 0;
  int RemovedFromMailCount = 0;

  // The messages due in the chosen folders, counted before the port opened,
  // the last one begun, and the bytes of records still to go, for the
  // progress of the whole run.
  int DueCount = 0;
  int DueIndex = 0;
  qint64 DueBytesLeft = 0;

  // Every message of the date range in the chosen folders (DeviceId empty).
  std::vector<MessageListEntry> SelectionList;
  // The messages the Kelvo reports holding.
  std::vector<MessageListEntry> DeviceList;

  // A device list the receive phase did not end with CmdEnd is incomplete: the
  // store must then delete nothing on its strength.
  bool DeviceListComplete = false;
  // A selection list that missed a folder (a failed exchange, a break, a
  // folder skipped as too large or gone) is incomplete: nothing may then be
  // removed from the Kelvo on its strength. The reason is for the summary.
  bool SelectionListComplete = false;
  QString SelectionIncompleteReason;

  // Set by the removal phase when the user asked to remove from the Kelvo
  // what is no longer sent, but the selection list was incomplete, so
  // nothing was removed from the Kelvo.
  bool DeviceRemovalSkipped = false;
  // Set by the scan when the mail store cannot be used at all (its marks
  // cannot be read, it went away): the walk ends there.
  bool StoreUnusable = false;

  // Set by the scan when the user asked to remove from the mail what was
  // deleted on the Kelvo, but the device list was incomplete, so nothing was
  // removed from the store.
  bool StoreRemovalSkipped = false;

  // Marks the selection list incomplete; the first reason is the one kept.
  void MarkSelectionIncomplete(const QString& reason) {
    if (SelectionListComplete || SelectionIncompleteReason.isEmpty()) {
      SelectionIncompleteReason = reason;
    }
    SelectionListComplete = false;
  }
};

}  // namespace zandor
