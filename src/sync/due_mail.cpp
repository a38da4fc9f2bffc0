#include "sync/due_mail.h"

#include <algorithm>

#include "store/byte_names.h"

namespace zandor {

StoreResult<Due> WhatIsDue(const MailItem& item, bool fullSync) {
  StoreResult<std::optional<QDateTime>> mark = item.KelvoSent();
  if (!mark) return mark.failure();
  const QDateTime sentDate = mark.value().value_or(NeverSentDate());
  if (sentDate == NeverSentDate() || fullSync) return Due{true, std::nullopt};
  StoreResult<std::optional<SentParts>> parts = item.KelvoParts();
  if (!parts) return parts.failure();
  if (*parts && (*parts)->acknowledged < (*parts)->total) return Due{true, *parts};
  return Due{};
}

size_t FirstPartToSend(const std::optional<SentParts>& held, size_t partCount) {
  if (!held || held->total != static_cast<int>(partCount)) return 0;
  return static_cast<size_t>(std::clamp(held->acknowledged, 0, held->total));
}

qint64 PartOverhead(const QString& entryId) {
  return 40 + BytesOfText(entryId).size();
}

int SecondsOnTheLine(qint64 bytes) {
  // Ten bits a byte (start, eight data bits, stop) at 38,400 baud.
  return static_cast<int>((bytes * 10 + 38399) / 38400);
}

OutgoingMessage ReadOutgoingMessage(const MailItem& item,
                                    std::optional<StoreFailure>* firstFailure) {
  OutgoingMessage message;
  message.subject = ValueOf(item.Text(ItemText::Subject), firstFailure);
  message.senderName = ValueOf(item.Text(ItemText::SenderName), firstFailure);
  message.to = ValueOf(item.Text(ItemText::To), firstFailure);
  message.cc = ValueOf(item.Text(ItemText::CC), firstFailure);
  message.bcc = ValueOf(item.Text(ItemText::BCC), firstFailure);
  message.body = ValueOf(item.Text(ItemText::Body), firstFailure);
  message.receivedTime = ValueOf(item.ReceivedTime(), firstFailure);
  message.sentOn = ValueOf(item.SentOn(), firstFailure);
  return message;
}

}  // namespace zandor
