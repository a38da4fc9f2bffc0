#include "store/mime/message_writer.h"

#include <QRegularExpression>
#include <algorithm>

#include "store/mime/gmime_ptr.h"

namespace zandor::mime {
namespace {

// The longest line a header may have, its line end not counted.
constexpr qsizetype kLongestLine = 998;

// A subject as Q-encoded words of at most 75 characters, each of whole
// characters, one per folded line. Mail readers decode encoded words in a
// subject, so a subject that looks like one ("=?utf-8?b?...?=") is written
// this way to read back as it stands.
QByteArray EncodedWords(const QString& text) {
  const QByteArray prefix = "=?utf-8?q?";
  const QByteArray suffix = "?=";
  QByteArrayList words;
  QByteArray word;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QByteArray encoded;
    for (const char byte : text.mid(i, units).toUtf8()) {
      const auto c = static_cast<unsigned char>(byte);
      if (c == ' ') {
        encoded += '_';
      } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        encoded += static_cast<char>(c);
      } else {
        encoded += '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
      }
    }
    i += units - 1;
    if (prefix.size() + word.size() + encoded.size() + suffix.size() > 75) {
      words.append(prefix + word + suffix);
      word.clear();
    }
    word += encoded;
  }
  words.append(prefix + word + suffix);
  return words.join("\n ");
}

// Folds every header line longer than a header line may be at its spaces,
// so that each piece is at most 78 characters where the spaces allow.
// Unfolding (removing the line ends) gives the line back.
QByteArray FoldLongHeaderLines(const QByteArray& message) {
  const qsizetype end = message.indexOf("\n\n");
  const QByteArray headers = end < 0 ? message : message.left(end);
  QByteArrayList lines;
  for (QByteArray line : headers.split('\n')) {
    if (line.size() > kLongestLine) {
      while (line.size() > 78) {
        qsizetype cut = line.lastIndexOf(' ', 78);
        if (cut <= 0) cut = line.indexOf(' ', 79);
        if (cut <= 0) break;
        lines.append(line.left(cut));
        line = line.mid(cut);
      }
    }
    lines.append(line);
  }
  return lines.join('\n') + (end < 0 ? QByteArray() : message.mid(end));
}

QByteArray WithLf(const QString& text) {
  QString lf = text;
  lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lf.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lf.toUtf8();
}

// The addresses written in a text: each word around an '@', up to the
// characters that end an address in a header.
QStringList TypedAddresses(const QString& text) {
  static const QRegularExpression kAddress(QStringLiteral(R"([^\s<>"(),;:]+@[^\s<>"(),;:]+)"));
  QStringList addresses;
  for (auto match = kAddress.globalMatch(text); match.hasNext();)
    addresses << match.next().captured().toLower();
  return addresses;
}

void CollectAddresses(InternetAddressList* list, QStringList& addresses) {
  const int count = list == nullptr ? 0 : internet_address_list_length(list);
  for (int i = 0; i < count; ++i) {
    InternetAddress* address = internet_address_list_get_address(list, i);
    if (INTERNET_ADDRESS_IS_GROUP(address)) {
      CollectAddresses(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address)),
                       addresses);
    } else if (const char* addr =
                   internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address))) {
      addresses << QString::fromUtf8(addr).toLower();
    }
  }
}

bool HoldsEvery(InternetAddressList* list, const QStringList& typed) {
  QStringList held;
  CollectAddresses(list, held);
  return std::all_of(typed.begin(), typed.end(),
                     [&held](const QString& address) { return held.contains(address); });
}

// A plain name ("Dummy", "Ivan") has no address: it becomes an empty group
// of that name ("Dummy:;"), the standard form of a recipient without an
// address, which every reader shows by its name.
void AddName(InternetAddressList* list, const QString& name) {
  GObjectPtr<InternetAddress> group(internet_address_group_new(name.toUtf8().constData()));
  internet_address_list_add(list, group.get());
}

// Recipients typed with a quote or bracket left open, which a parser reads
// past the next recipient: each piece between semicolons on its own, its
// address found by hand and the rest of it as the name.
GObjectPtr<InternetAddressList> SalvagedRecipients(const QString& text) {
  GObjectPtr<InternetAddressList> list(internet_address_list_new());
  static const QRegularExpression kMarks(QStringLiteral(R"([<>"])"));
  for (const QString& piece : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QStringList addresses = TypedAddresses(piece);
    if (addresses.isEmpty()) {
      if (!piece.trimmed().isEmpty()) AddName(list.get(), piece.trimmed());
      continue;
    }
    QString name;
    if (addresses.size() == 1) {
      name = piece;
      name.remove(addresses.front(), Qt::CaseInsensitive);
      name = name.remove(kMarks).trimmed();
    }
    for (const QString& address : addresses) {
      GObjectPtr<InternetAddress> mailbox(internet_address_mailbox_new(
          name.isEmpty() ? nullptr : name.toUtf8().constData(), address.toUtf8().constData()));
      internet_address_list_add(list.get(), mailbox.get());
    }
  }
  return list;
}

void AddRecipient(InternetAddressList* to, const QString& recipient) {
  const QString text = recipient.trimmed();
  if (text.isEmpty()) return;
  // Something that reads as addresses is kept as such, with every address
  // typed; one longer than a header line may be could not be folded, so it is
  // kept as a name, as is anything whose addresses cannot all be kept.
  const QStringList typed = TypedAddresses(text);
  if (!typed.isEmpty() && text.toUtf8().size() <= kLongestLine) {
    GObjectPtr<InternetAddressList> parsed(
        internet_address_list_parse(nullptr, text.toUtf8().constData()));
    if (!parsed || !HoldsEvery(parsed.get(), typed)) parsed = SalvagedRecipients(text);
    if (HoldsEvery(parsed.get(), typed)) {
      internet_address_list_append(to, parsed.get());
      return;
    }
  }
  AddName(to, text);
}

}  // namespace

QByteArray MailDateText(const QDateTime& time) {
  static constexpr const char* kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const QDateTime local = time.toLocalTime();
  const QDate date = local.date();
  const QTime clock = local.time();
  const int offsetMinutes = local.offsetFromUtc() / 60;
  const int absOffset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 %8%9%10")
      .arg(QLatin1String(kDays[date.dayOfWeek() - 1]))
      .arg(date.day(), 2, 10, QLatin1Char('0'))
      .arg(QLatin1String(kMonths[date.month() - 1]))
      .arg(date.year(), 4, 10, QLatin1Char('0'))
      .arg(clock.hour(), 2, 10, QLatin1Char('0'))
      .arg(clock.minute(), 2, 10, QLatin1Char('0'))
      .arg(clock.second(), 2, 10, QLatin1Char('0'))
      .arg(QLatin1Char(offsetMinutes < 0 ? '-' : '+'))
      .arg(absOffset / 60, 2, 10, QLatin1Char('0'))
      .arg(absOffset % 60, 2, 10, QLatin1Char('0'))
      .toLatin1();
}

QByteArray ComposeMessage(const OutgoingMessage& message) {
  EnsureGMimeInitialised();
  GObjectPtr<GMimeMessage> mime(g_mime_message_new(TRUE));
  GMimeObject* object = GMIME_OBJECT(mime.get());

  g_mime_object_set_header(object, "Date", MailDateText(message.date).constData(), nullptr);
  GObjectPtr<InternetAddress> kelvo(internet_address_mailbox_new("Kelvo", "kelvo@localhost"));
  internet_address_list_add(g_mime_message_get_from(mime.get()), kelvo.get());
  for (const QString& recipient : message.recipients) {
    AddRecipient(g_mime_message_get_to(mime.get()), recipient);
  }
  g_mime_message_set_subject(mime.get(), message.subject.toUtf8().constData(), "utf-8");
  if (message.subject.contains(QStringLiteral("=?"))) {
    GMimeHeader* subject = g_mime_header_list_get_header(object->headers, "Subject");
    g_mime_header_set_raw_value(subject, (' ' + EncodedWords(message.subject) + '\n').constData());
  }
  g_mime_message_set_message_id(
      mime.get(), (message.messageIdLocalPart.toUtf8() + "@kelvo.localhost").constData());

  const QByteArray body = WithLf(message.body);
  GObjectPtr<GMimeTextPart> part(g_mime_text_part_new_with_subtype("plain"));
  GObjectPtr<GMimeStream> content(
      g_mime_stream_mem_new_with_buffer(body.constData(), static_cast<size_t>(body.size())));
  GObjectPtr<GMimeDataWrapper> wrapper(
      g_mime_data_wrapper_new_with_stream(content.get(), GMIME_CONTENT_ENCODING_DEFAULT));
  g_mime_part_set_content(GMIME_PART(part.get()), wrapper.get());
  g_mime_text_part_set_charset(part.get(), "utf-8");
  g_mime_part_set_content_encoding(GMIME_PART(part.get()),
                                   g_mime_part_get_best_content_encoding(
                                       GMIME_PART(part.get()), GMIME_ENCODING_CONSTRAINT_7BIT));
  g_mime_message_set_mime_part(mime.get(), GMIME_OBJECT(part.get()));

  GCharPtr text(g_mime_object_to_string(object, nullptr));
  QByteArray bytes = FoldLongHeaderLines(QByteArray(text.get()));
  if (!bytes.contains("\nMIME-Version:") && !bytes.startsWith("MIME-Version:")) {
    bytes.prepend("MIME-Version: 1.0\n");
  }
  return bytes;
}

}  // namespace zandor::mime
