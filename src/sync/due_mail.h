#pragma once

#include <optional>

#include "records/outgoing_record.h"
#include "store/mail_store.h"

namespace zandor {

// What a run sends of a message: nothing, all of it, or the parts the Kelvo
// lacks after a run that ended within it (held: the parts it has).
struct Due {
  bool send = false;
  std::optional<SentParts> held;
};
StoreResult<Due> WhatIsDue(const MailItem& item, bool fullSync);

// The first part to send: the Kelvo holds the first parts of a message a run
// ended within. Cut another way since (the long-message option changed), the
// parts it holds are not these: all of them go.
size_t FirstPartToSend(const std::optional<SentParts>& held, size_t partCount);

// The bytes one part puts on the line beyond its record: the command, the
// three numbers, the entry id, the fields' framing and the Kelvo's Acks.
qint64 PartOverhead(const QString& entryId);

// How long the line takes for so many bytes, in whole seconds.
int SecondsOnTheLine(qint64 bytes);

// The value, or nullopt; the first reason a value could not be read goes to
// firstFailure when one is given.
template <class T>
std::optional<T> ValueOf(StoreResult<T> result,
                         std::optional<StoreFailure>* firstFailure = nullptr) {
  if (result) return std::move(result.value());
  if (firstFailure != nullptr && !*firstFailure) *firstFailure = result.failure();
  return std::nullopt;
}

// What the record builder needs of a message; a property that cannot be read
// stays empty, and the builder then skips the message. The reason the first
// one could not be read goes to firstFailure when one is given.
OutgoingMessage ReadOutgoingMessage(const MailItem& item,
                                    std::optional<StoreFailure>* firstFailure = nullptr);

}  // namespace zandor
