#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "records/conversion.h"

namespace zandor::sim {

// A message written on the Kelvo and not yet uploaded: its eight fields in
// the Kelvo's own character codes (subject, field 2, recipient, body, fields 5
// to 8). The Kelvo uploads it as one record, the fields joined by its
// separator.
struct WrittenMessage {
  std::array<QByteArray, 8> fields;
};

// A message the Kelvo holds: one the PC sent (one per part) or one written on
// the Kelvo whose upload the PC acknowledged with an entry id.
struct HeldMessage {
  QString deviceId;    // the Kelvo's own number: eight upper-case hexadecimal digits
  QByteArray entryId;  // the PC's entry id, as it arrived (UTF-8 bytes)
  int kind = 0;        // the FolderKind the PC sent (1 or 2); 0 for an upload
  QByteArray record;   // the record without its FieldEnd
};

// A misbehaviour at one reply of the Kelvo. Replies are numbered per
// synchronisation, from 1 for the answer to the handshake: every time the
// Kelvo sends something in answer to the PC counts one (an Ack, an item byte,
// a length field, a record, an entry id, a device id). A reply the Kelvo
// swallows (Silence, HangUp) still takes its number. Each fault fires once.
enum class FaultKind {
  WrongByte,  // the reply is replaced by `bytes` (default 0x15)
  Twice,      // the reply is sent twice in a row
  Joined,     // the reply and the next one go out together, as if the PC had
              // already answered with the Ack the Kelvo expects; where the
              // PC's next step is more than a plain Ack, an Ack is appended
  Silence,    // nothing is sent; the Kelvo waits for the PC as if it had
  HangUp,     // the Kelvo vanishes instead of answering: HungUp() turns true
  TooMany,    // the reply is followed by `bytes` (default "#")
  Replace,    // the reply is replaced by `bytes` exactly
};

struct Fault {
  int reply = 1;
  FaultKind kind = FaultKind::WrongByte;
  QByteArray bytes;  // for WrongByte, TooMany and Replace; empty takes the default
};

// One item the Kelvo offers in the receive stage: an upload of Written()[index]
// or a CmdMessageId listing of Held()[index], both as they stand when the
// handshake comes.
struct ReceiveItem {
  enum class Kind { Upload, Listing };
  Kind kind = Kind::Upload;
  int index = 0;
};

// Where the Kelvo is in the dialogue of a synchronisation.
enum class Stage {
  Handshake,  // waits for the PC's Ack
  Receive,    // offers its items; ends when it sends CmdEnd
  Send,       // takes the PC's message parts; ends with the PC's CmdEnd
  Removal,    // removes what the PC names; the PC's CmdEnd starts the closing
  Closing,    // the closing CmdEnd came; the closing Ack ends the synchronisation
  Finished,   // the synchronisation is over; an Ack starts the next one
  Aborted,    // the PC sent Abort: deaf until the line is closed or reopened
  HungUp,     // gone: deaf and silent until the line is reopened
};

// The Kelvo's side of the dialogue as a pure state machine over bytes. The PC's
// bytes go in through Receive() in pieces of any size; the Kelvo's answers
// come out of TakeOutput(). Nothing here blocks, sleeps or reads a clock, so a
// test (or kelvo-sim on a pseudo-terminal) drives it step by step.
class KelvoDevice {
 public:
  KelvoDevice();

  // Configuration.
  void SetSeparator(unsigned char separator) { separator_ = separator; }
  unsigned char Separator() const { return separator_; }
  void AddWritten(WrittenMessage message);
  void AddHeld(HeldMessage message);
  // The number the next message the Kelvo takes in gets; ids count up from it.
  void SetNextDeviceId(quint32 next) { nextDeviceId_ = next; }
  quint32 NextDeviceId() const { return nextDeviceId_; }
  // The receive stage's items in this order; without it, every upload in
  // order, then every listing in order.
  void SetReceiveOrder(std::vector<ReceiveItem> order) { order_ = std::move(order); }
  void ClearReceiveOrder() { order_.reset(); }
  void AddFault(Fault fault) { faults_.push_back(std::move(fault)); }
  void ClearFaults() { faults_.clear(); }

  // The line. Opening or closing it drops any exchange in progress; a new
  // synchronisation then starts with the handshake.
  void LineOpened();
  void LineClosed();
  void Receive(const QByteArray& fromPc);
  // Everything the Kelvo sent since the last call.
  QByteArray TakeOutput();
  bool HungUp() const { return stage_ == Stage::HungUp; }

  // State.
  Stage CurrentStage() const { return stage_; }
  std::vector<WrittenMessage> Written() const;
  const std::vector<HeldMessage>& Held() const { return held_; }
  const HeldMessage* FindHeld(const QString& deviceId) const;
  // Replies numbered so far in this synchronisation (see Fault).
  int RepliesSent() const { return replies_; }
  int CompletedSynchronisations() const { return completed_; }
  // What the PC did that the dialogue does not allow, in words, in order.
  const QStringList& Violations() const { return violations_; }
  // The record an upload goes out as: the fields joined by the separator.
  QByteArray UploadRecord(const WrittenMessage& message) const;

  // The data file (see docs/kelvo-data-format.md).
  QJsonObject ToJson() const;
  // Replaces the messages and settings with those of the object; nullopt on
  // success, else why it was refused (the device is then unchanged).
  std::optional<QString> LoadJson(const QJsonObject& object);
  std::optional<QString> SaveFile(const QString& path) const;
  std::optional<QString> LoadFile(const QString& path);

 private:
  // Where the Kelvo is inside an exchange.
  enum class Step {
    Idle,                // between exchanges: a command byte comes next
    RxAnnounced,         // sent CmdMessage; Ack asks for the size field
    RxSizeSent,          // Ack asks for the record; the entry id's length and
                         // the entry id then follow as PC text fields
    RxListAnnounced,     // sent CmdMessageId; Ack asks for the entry id's length
    RxListLengthSent,    // Ack asks for the entry id
    RxListEntrySent,     // Ack asks for the device id
    RxListDeviceIdSent,  // Ack acknowledges the device id; nothing is answered
    FieldLead,           // a PC text field's leading Ack
    FieldNumber,         // its digits, up to FieldEnd
    FieldBytes,          // exactly expected_ bytes, then FieldEnd
    RemovalNumber,       // the removal identifier's digits, up to FieldEnd
    Discard,             // after a violation: the rest of the bad field, up to
                         // FieldEnd or the next command byte
  };
  // What the field being read is for.
  enum class FieldPurpose { UploadIdLength, UploadId, Kind, IdLength, Id, RecordLength, Record };

  struct Pending {
    int serial = 0;
    WrittenMessage message;
  };
  struct Offer {
    ReceiveItem::Kind kind = ReceiveItem::Kind::Upload;
    int serial = 0;       // of the upload
    HeldMessage listing;  // of the listing
  };

  void Take(char byte);
  void Dispatch(char byte);
  void StartSynchronisation();
  void OfferNextItem();
  void BeginField(FieldPurpose purpose, Step step);
  void FieldDone();
  void RemoveNamed();
  void Emit(const QByteArray& reply);
  void AnswerAsIfAcked();
  void Violation(const QString& what, char byte, bool redispatch);
  void DropExchange();
  QString FreshDeviceId();

  unsigned char separator_;
  QString textForm_ = QStringLiteral("kelvo");  // of the data file's strings
  std::vector<Pending> written_;
  std::vector<HeldMessage> held_;
  quint32 nextDeviceId_ = 1;
  int nextSerial_ = 1;
  std::optional<std::vector<ReceiveItem>> order_;
  std::vector<Fault> faults_;
  ConversionTables tables_;

  Stage stage_ = Stage::Handshake;
  Step step_ = Step::Idle;
  std::vector<Offer> offers_;
  std::size_t nextOffer_ = 0;
  int currentUpload_ = 0;  // serial of the upload in progress
  FieldPurpose purpose_ = FieldPurpose::Kind;
  QByteArray field_;
  int expected_ = 0;
  HeldMessage listing_;  // the listing in progress
  HeldMessage part_;     // the part being received
  int replies_ = 0;
  int completed_ = 0;
  QByteArray output_;
  QStringList violations_;
};

}  // namespace zandor::sim
