#include "link/field_forms.h"

#include <algorithm>

#include "link/link.h"
#include "link/protocol.h"

namespace zandor {

QByteArray SixDigitNumber(qint64 value) {
  QByteArray digits = QByteArray::number(value < 0 ? 0 : value);
  if (digits.size() < 6) digits.prepend(QByteArray(6 - digits.size(), '0'));
  return digits;
}

QByteArray NumberField(qint64 value) {
  QByteArray field = SixDigitNumber(value);
  field.append(protocol::FieldEnd);
  return field;
}

std::optional<int> ParseKelvoLength(const QByteArray& field) {
  const qsizetype end = field.size() - 1;  // the terminator is dropped unread
  qint64 value = 0;
  for (qsizetype i = 0; i < end; ++i) {
    const char c = field.at(i);
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > kMaxKelvoLength) return std::nullopt;
  }
  return static_cast<int>(value);
}

Reply ReadLengthField(Link& link) {
  Reply field = link.ReadReply();
  auto incomplete = [&] {
    return field.end == Reply::End::Bytes &&
           std::all_of(field.bytes.begin(), field.bytes.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
  };
  while (incomplete()) {
    Reply more = link.ReadReply();
    if (more.Ended()) return more;
    field.bytes += more.bytes;
  }
  return field;
}

void WriteTextField(Link& link, const QByteArray& text) {
  link.Write(protocol::Ack);
  QByteArray field = text;
  field.append(protocol::FieldEnd);
  link.Write(field);
}

std::optional<QByteArray> RemovalIdentifier(const QString& deviceId) {
  if (deviceId.isEmpty()) return std::nullopt;
  quint64 value = 0;
  for (const QChar c : deviceId) {
    const char16_t u = c.unicode();
    int digit = -1;
    if (u >= u'0' && u <= u'9') digit = u - u'0';
    if (u >= u'a' && u <= u'f') digit = u - u'a' + 10;
    if (u >= u'A' && u <= u'F') digit = u - u'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<quint64>(digit);
    if (value > 0xFFFFFFFFULL) return std::nullopt;
  }
  return NumberField(static_cast<qint64>(value));
}

QString DeviceIdFromField(const QByteArray& field) {
  return QString::fromLatin1(field.left(8));
}

}  // namespace zandor
