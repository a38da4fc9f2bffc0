#include "kelvo_device.h"

#include <algorithm>

#include "link/protocol.h"

namespace zandor::sim {

namespace {

namespace p = zandor::protocol;

QByteArray One(char byte) {
  return QByteArray(1, byte);
}

bool IsDigit(char byte) {
  return byte >= '0' && byte <= '9';
}

QString ByteName(char byte) {
  return QStringLiteral("0x%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
}

}  // namespace

KelvoDevice::KelvoDevice() : separator_(p::DefaultSeparator), tables_(BuildConversionTables()) {}

void KelvoDevice::AddWritten(WrittenMessage message) {
  written_.push_back({nextSerial_++, std::move(message)});
}

void KelvoDevice::AddHeld(HeldMessage message) {
  held_.push_back(std::move(message));
}

std::vector<WrittenMessage> KelvoDevice::Written() const {
  std::vector<WrittenMessage> messages;
  messages.reserve(written_.size());
  for (const Pending& pending : written_) messages.push_back(pending.message);
  return messages;
}

const HeldMessage* KelvoDevice::FindHeld(const QString& deviceId) const {
  const auto it = std::find_if(held_.begin(), held_.end(),
                               [&](const HeldMessage& m) { return m.deviceId == deviceId; });
  return it == held_.end() ? nullptr : &*it;
}

QByteArray KelvoDevice::UploadRecord(const WrittenMessage& message) const {
  QByteArray record;
  for (std::size_t i = 0; i < message.fields.size(); ++i) {
    if (i > 0) record.append(static_cast<char>(separator_));
    record.append(message.fields[i]);
  }
  return record;
}

void KelvoDevice::LineOpened() {
  stage_ = Stage::Handshake;
  DropExchange();
}

void KelvoDevice::LineClosed() {
  if (stage_ != Stage::HungUp) stage_ = Stage::Handshake;
  DropExchange();
}

void KelvoDevice::Receive(const QByteArray& fromPc) {
  for (const char byte : fromPc) Take(byte);
}

QByteArray KelvoDevice::TakeOutput() {
  QByteArray output;
  output.swap(output_);
  return output;
}

void KelvoDevice::Take(char byte) {
  if (stage_ == Stage::HungUp || stage_ == Stage::Aborted) return;

  // Fields read by length are plain data: every byte value belongs to them.
  if (step_ == Step::FieldBytes) {
    if (field_.size() < expected_) {
      field_.append(byte);
    } else if (byte == p::FieldEnd) {
      FieldDone();
    } else {
      Violation(QStringLiteral("no FieldEnd after the %1 bytes announced").arg(expected_), byte,
                true);
    }
    return;
  }
  if (byte == p::Abort) {
    DropExchange();
    stage_ = Stage::Aborted;
    return;
  }

  switch (step_) {
    case Step::Idle:
      Dispatch(byte);
      return;
    case Step::Discard:
      if (byte == p::FieldEnd) {
        step_ = Step::Idle;
      } else if (byte == p::CmdMessage || byte == p::CmdRemove || byte == p::CmdEnd) {
        step_ = Step::Idle;
        Dispatch(byte);
      }
      return;
    case Step::RxAnnounced:
    case Step::RxSizeSent:
    case Step::RxListAnnounced:
    case Step::RxListLengthSent:
    case Step::RxListEntrySent:
    case Step::RxListDeviceIdSent:
      break;  // each wants one Ack; handled below
    case Step::FieldLead:
      if (byte != p::Ack) {
        Violation(QStringLiteral("a text field that does not start with Ack"), byte, true);
        return;
      }
      field_.clear();
      if (purpose_ == FieldPurpose::UploadId || purpose_ == FieldPurpose::Id ||
          purpose_ == FieldPurpose::Record) {
        step_ = Step::FieldBytes;
      } else {
        step_ = Step::FieldNumber;
      }
      return;
    case Step::FieldNumber:
    case Step::RemovalNumber:
      if (IsDigit(byte)) {
        field_.append(byte);
        if (field_.size() > 12) Violation(QStringLiteral("a number field too long"), byte, false);
        return;
      }
      if (byte != p::FieldEnd) {
        Violation(QStringLiteral("a number field with a byte that is not a digit"), byte, true);
        return;
      }
      if (field_.size() < 6) {
        Violation(QStringLiteral("a number field with fewer than six digits"), byte, false);
        return;
      }
      if (step_ == Step::RemovalNumber) {
        RemoveNamed();
      } else {
        FieldDone();
      }
      return;
    case Step::FieldBytes:
      return;  // handled above
  }

  // The receive stage: the PC's Ack asks for the next piece.
  if (byte != p::Ack) {
    Violation(QStringLiteral("no Ack while the Kelvo sends an item"), byte, true);
    return;
  }
  switch (step_) {
    case Step::RxAnnounced: {
      step_ = Step::RxSizeSent;
      const auto it = std::find_if(written_.begin(), written_.end(),
                                   [&](const Pending& m) { return m.serial == currentUpload_; });
      Emit(QByteArray::number(UploadRecord(it->message).size()) + One(p::FieldEnd));
      return;
    }
    case Step::RxSizeSent: {
      const auto it = std::find_if(written_.begin(), written_.end(),
                                   [&](const Pending& m) { return m.serial == currentUpload_; });
      BeginField(FieldPurpose::UploadIdLength, Step::FieldLead);
      Emit(UploadRecord(it->message));
      return;
    }
    case Step::RxListAnnounced:
      step_ = Step::RxListLengthSent;
      Emit(QByteArray::number(listing_.entryId.size()) + One(p::FieldEnd));
      return;
    case Step::RxListLengthSent:
      step_ = Step::RxListEntrySent;
      Emit(listing_.entryId);
      return;
    case Step::RxListEntrySent:
      step_ = Step::RxListDeviceIdSent;
      Emit(listing_.deviceId.toLatin1() + One(p::FieldEnd));
      return;
    case Step::RxListDeviceIdSent:
      step_ = Step::Idle;  // the device id is acknowledged; the poll comes next
      return;
    default:
      return;
  }
}

void KelvoDevice::Dispatch(char byte) {
  switch (byte) {
    case p::Ack:
      if (stage_ == Stage::Handshake || stage_ == Stage::Finished) {
        StartSynchronisation();
        Emit(One(p::Ack));
      } else if (stage_ == Stage::Receive) {
        OfferNextItem();
      } else if (stage_ == Stage::Closing) {
        stage_ = Stage::Finished;
        ++completed_;
      } else {
        Violation(QStringLiteral("an Ack outside any exchange"), byte, false);
      }
      return;
    case p::CmdMessage:
      if (stage_ != Stage::Receive && stage_ != Stage::Send) {
        Violation(QStringLiteral("CmdMessage outside the send stage"), byte, false);
        return;
      }
      stage_ = Stage::Send;
      part_ = HeldMessage{};
      BeginField(FieldPurpose::Kind, Step::FieldLead);
      Emit(One(p::Ack));
      return;
    case p::CmdEnd:
      if (stage_ == Stage::Receive || stage_ == Stage::Send) {
        stage_ = Stage::Removal;  // the end of the send stage, answered
        Emit(One(p::Ack));
      } else if (stage_ == Stage::Removal) {
        stage_ = Stage::Closing;  // the closing CmdEnd: no answer
      } else {
        Violation(QStringLiteral("CmdEnd outside the dialogue"), byte, false);
      }
      return;
    case p::CmdRemove:
      if (stage_ != Stage::Receive && stage_ != Stage::Send && stage_ != Stage::Removal) {
        Violation(QStringLiteral("CmdRemove outside the removal stage"), byte, false);
        return;
      }
      stage_ = Stage::Removal;
      field_.clear();
      step_ = Step::RemovalNumber;
      Emit(One(p::Ack));
      return;
    default:
      Violation(QStringLiteral("a byte that is no command"), byte, false);
      return;
  }
}

void KelvoDevice::StartSynchronisation() {
  stage_ = Stage::Receive;
  step_ = Step::Idle;
  replies_ = 0;
  offers_.clear();
  nextOffer_ = 0;
  if (order_) {
    for (const ReceiveItem& item : *order_) {
      if (item.index < 0) continue;
      const auto index = static_cast<std::size_t>(item.index);
      if (item.kind == ReceiveItem::Kind::Upload && index < written_.size()) {
        offers_.push_back({item.kind, written_[index].serial, {}});
      } else if (item.kind == ReceiveItem::Kind::Listing && index < held_.size()) {
        offers_.push_back({item.kind, 0, held_[index]});
      }
    }
    return;
  }
  for (const Pending& pending : written_) {
    offers_.push_back({ReceiveItem::Kind::Upload, pending.serial, {}});
  }
  for (const HeldMessage& held : held_) offers_.push_back({ReceiveItem::Kind::Listing, 0, held});
}

void KelvoDevice::OfferNextItem() {
  while (nextOffer_ < offers_.size()) {
    const Offer& offer = offers_[nextOffer_++];
    if (offer.kind == ReceiveItem::Kind::Listing) {
      listing_ = offer.listing;
      step_ = Step::RxListAnnounced;
      Emit(One(p::CmdMessageId));
      return;
    }
    const bool stillWritten = std::any_of(written_.begin(), written_.end(), [&](const Pending& m) {
      return m.serial == offer.serial;
    });
    if (!stillWritten) continue;  // offered twice by the order, uploaded already
    currentUpload_ = offer.serial;
    step_ = Step::RxAnnounced;
    Emit(One(p::CmdMessage));
    return;
  }
  stage_ = Stage::Send;
  step_ = Step::Idle;
  Emit(One(p::CmdEnd));
}

void KelvoDevice::BeginField(FieldPurpose purpose, Step step) {
  purpose_ = purpose;
  step_ = step;
  field_.clear();
}

void KelvoDevice::FieldDone() {
  const QByteArray field = field_;
  const int number = static_cast<int>(std::min<qint64>(field.toLongLong(), 1 << 30));
  switch (purpose_) {
    case FieldPurpose::UploadIdLength:
      expected_ = number;
      BeginField(FieldPurpose::UploadId, Step::FieldLead);
      Emit(One(p::Ack));
      return;
    case FieldPurpose::UploadId: {
      const auto it = std::find_if(written_.begin(), written_.end(),
                                   [&](const Pending& m) { return m.serial == currentUpload_; });
      if (it != written_.end()) {
        held_.push_back({FreshDeviceId(), field, 0, UploadRecord(it->message)});
        written_.erase(it);
      }
      step_ = Step::Idle;
      Emit(One(p::Ack));
      return;
    }
    case FieldPurpose::Kind:
      part_.kind = number;
      BeginField(FieldPurpose::IdLength, Step::FieldLead);
      Emit(One(p::Ack));
      return;
    case FieldPurpose::IdLength:
      expected_ = number;
      BeginField(FieldPurpose::Id, Step::FieldLead);
      Emit(One(p::Ack));
      return;
    case FieldPurpose::Id:
      part_.entryId = field;
      BeginField(FieldPurpose::RecordLength, Step::FieldLead);
      Emit(One(p::Ack));
      return;
    case FieldPurpose::RecordLength:
      expected_ = number;
      BeginField(FieldPurpose::Record, Step::FieldLead);
      Emit(One(p::Ack));
      return;
    case FieldPurpose::Record:
      part_.record = field;
      part_.deviceId = FreshDeviceId();
      held_.push_back(part_);
      step_ = Step::Idle;
      Emit(One(p::Ack));
      return;
  }
}

void KelvoDevice::RemoveNamed() {
  const qint64 number = field_.toLongLong();
  const auto it = std::find_if(held_.begin(), held_.end(), [&](const HeldMessage& m) {
    bool ok = false;
    const qint64 value = static_cast<qint64>(m.deviceId.toUInt(&ok, 16));
    return ok && value == number;
  });
  if (it == held_.end()) {
    violations_ << QStringLiteral("CmdRemove of %1, which the Kelvo does not hold (reply %2)")
                       .arg(QString::fromLatin1(field_))
                       .arg(replies_);
  } else {
    held_.erase(it);
  }
  step_ = Step::Idle;
  field_.clear();
  Emit(One(p::Ack));
}

void KelvoDevice::Emit(const QByteArray& reply) {
  ++replies_;
  const auto fault = std::find_if(faults_.begin(), faults_.end(),
                                  [&](const Fault& f) { return f.reply == replies_; });
  if (fault == faults_.end()) {
    output_ += reply;
    return;
  }
  const Fault chosen = *fault;
  faults_.erase(fault);
  switch (chosen.kind) {
    case FaultKind::WrongByte:
      output_ += chosen.bytes.isEmpty() ? QByteArray("\x15") : chosen.bytes;
      return;
    case FaultKind::Twice:
      output_ += reply + reply;
      return;
    case FaultKind::Joined:
      output_ += reply;
      AnswerAsIfAcked();
      return;
    case FaultKind::Silence:
      return;
    case FaultKind::HangUp:
      DropExchange();
      stage_ = Stage::HungUp;
      return;
    case FaultKind::TooMany:
      output_ += reply + (chosen.bytes.isEmpty() ? QByteArray("#") : chosen.bytes);
      return;
    case FaultKind::Replace:
      output_ += chosen.bytes;
      return;
  }
}

void KelvoDevice::AnswerAsIfAcked() {
  const bool plainAck =
      stage_ == Stage::Receive &&
      (step_ == Step::Idle || step_ == Step::RxAnnounced || step_ == Step::RxSizeSent ||
       step_ == Step::RxListAnnounced || step_ == Step::RxListLengthSent ||
       step_ == Step::RxListEntrySent || step_ == Step::RxListDeviceIdSent);
  if (!plainAck) {
    output_ += One(p::Ack);  // every reply outside the receive stage is an Ack
    return;
  }
  if (step_ == Step::RxListDeviceIdSent) Take(p::Ack);  // acknowledges the device id
  Take(p::Ack);
}

void KelvoDevice::Violation(const QString& what, char byte, bool redispatch) {
  violations_ << QStringLiteral("%1 (%2, reply %3)").arg(what, ByteName(byte)).arg(replies_);
  DropExchange();
  // The PC may have given up on the exchange and started the next one.
  if (redispatch && (byte == p::CmdMessage || byte == p::CmdRemove || byte == p::CmdEnd)) {
    Dispatch(byte);
    return;
  }
  // Otherwise the rest of the bad field is skipped, so that one mistake of the
  // PC is one violation.
  if (byte != p::FieldEnd) step_ = Step::Discard;
}

void KelvoDevice::DropExchange() {
  step_ = Step::Idle;
  field_.clear();
  expected_ = 0;
}

QString KelvoDevice::FreshDeviceId() {
  return QStringLiteral("%1").arg(nextDeviceId_++, 8, 16, QLatin1Char('0')).toUpper();
}

}  // namespace zandor::sim
