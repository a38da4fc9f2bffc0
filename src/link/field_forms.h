#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace zandor {

class Link;
struct Reply;

// The forms fields take on the line to the Kelvo. Pure functions over bytes,
// except WriteTextField, which only writes.

// The longest length the Kelvo may announce: the largest unsigned 16-bit
// count, so that a long message written on it can still be received.
inline constexpr int kMaxKelvoLength = 65535;

// A number the PC writes: decimal, zero-padded to at least six digits, no
// sign ("000001", "1000000"). Negative values are written as 0.
QByteArray SixDigitNumber(qint64 value);

// A number the PC writes as a field: SixDigitNumber, then FieldEnd.
QByteArray NumberField(qint64 value);

// A length field from the Kelvo: the last byte (its terminator) is dropped and
// the value is the run of decimal digits at the start of the rest; 0 when the
// rest does not start with a digit. nullopt when the value is beyond
// kMaxKelvoLength, so that the caller can fail instead of reading on.
std::optional<int> ParseKelvoLength(const QByteArray& field);

// Waits for a length field from the Kelvo: one reply, completed by further
// replies only while what arrived is digits without the terminator yet (a
// serial port may hand over "12" and then "0\0"). Anything else is returned as
// it came, to be judged by ParseKelvoLength. A break or a line fault during
// any of the waits ends it as that wait ended.
Reply ReadLengthField(Link& link);

// A text field from the PC: Ack, then the text and FieldEnd, as two writes.
// The Kelvo answers it with Ack; reading that answer is the caller's.
void WriteTextField(Link& link, const QByteArray& text);

// The identifier that follows CmdRemove: the DeviceId read as an unsigned
// 32-bit hexadecimal number (1 to 8 digits, either case), written in decimal
// with at least six digits, then FieldEnd: "0000001A" gives "000026\0".
// nullopt when the DeviceId is not such a number.
std::optional<QByteArray> RemovalIdentifier(const QString& deviceId);

// The device identifier the Kelvo sends in a CmdMessageId record: eight
// hexadecimal digits and a terminator, nine bytes.
inline constexpr int kDeviceIdFieldLength = 9;
// The DeviceId of such a field: its first eight bytes; the ninth is dropped
// unchecked.
QString DeviceIdFromField(const QByteArray& field);

}  // namespace zandor
