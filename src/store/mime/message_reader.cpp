#include "store/mime/message_reader.h"

#include <fcntl.h>

#include <QCoreApplication>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "store/byte_names.h"
#include "store/mime/html_text.h"

namespace zandor::mime {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(MessageReader)
};

// The legacy single-byte code page that mail without a charset was most
// likely written in, by the user's language.
const char* LegacyCharset(QLocale::Language language) {
  switch (language) {
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Serbian:
    case QLocale::Macedonian:
      return "windows-1251";
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Croatian:
    case QLocale::Slovenian:
    case QLocale::Romanian:
      return "windows-1250";
    case QLocale::Greek:
      return "windows-1253";
    case QLocale::Turkish:
      return "windows-1254";
    case QLocale::Hebrew:
      return "windows-1255";
    case QLocale::Arabic:
      return "windows-1256";
    case QLocale::Lithuanian:
    case QLocale::Latvian:
    case QLocale::Estonian:
      return "windows-1257";
    default:
      return "windows-1252";
  }
}

QString FromUtf8(const char* text) {
  return text == nullptr ? QString() : QString::fromUtf8(text);
}

// Display names, else addresses, of a list; the members of a group, else its name.
void AppendNames(InternetAddressList* list, QStringList& names) {
  if (list == nullptr) return;
  const int count = internet_address_list_length(list);
  for (int i = 0; i < count; ++i) {
    InternetAddress* address = internet_address_list_get_address(list, i);
    const QString name = FromUtf8(internet_address_get_name(address)).trimmed();
    if (INTERNET_ADDRESS_IS_GROUP(address)) {
      InternetAddressList* members =
          internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address));
      if (members != nullptr && internet_address_list_length(members) > 0) {
        AppendNames(members, names);
      } else if (!name.isEmpty()) {
        names.append(name);
      }
    } else if (!name.isEmpty()) {
      names.append(name);
    } else if (INTERNET_ADDRESS_IS_MAILBOX(address)) {
      const QString addr =
          FromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
      if (!addr.isEmpty()) names.append(addr);
    }
  }
}

QString JoinedNames(InternetAddressList* list) {
  QStringList names;
  AppendNames(list, names);
  return names.join(QStringLiteral("; "));
}

QString FirstName(InternetAddressList* list) {
  QStringList names;
  AppendNames(list, names);
  return names.isEmpty() ? QString() : names.front();
}

GObjectPtr<GMimeMessage> ParseMessage(GMimeStream* stream, GMimeParserOptions* options) {
  GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream));
  g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
  return GObjectPtr<GMimeMessage>(g_mime_parser_construct_message(parser.get(), options));
}

bool IsAttachment(GMimeObject* part) {
  GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(part);
  return disposition != nullptr && g_mime_content_disposition_is_attachment(disposition);
}

// The first text/plain and the first text/html part in reading order,
// attachments and attached messages left out.
void FindTextParts(GMimeObject* object, GMimeTextPart*& plain, GMimeTextPart*& html, int depth) {
  if (object == nullptr || depth > 64 || plain != nullptr) return;
  if (GMIME_IS_MULTIPART_ENCRYPTED(object)) return;  // nothing readable without the key
  if (GMIME_IS_MULTIPART(object)) {
    GMimeMultipart* multipart = GMIME_MULTIPART(object);
    const int count = g_mime_multipart_get_count(multipart);
    for (int i = 0; i < count && plain == nullptr; ++i) {
      FindTextParts(g_mime_multipart_get_part(multipart, i), plain, html, depth + 1);
    }
    return;
  }
  if (!GMIME_IS_TEXT_PART(object) || IsAttachment(object)) return;
  GMimeContentType* type = g_mime_object_get_content_type(object);
  if (g_mime_content_type_is_type(type, "text", "plain")) {
    plain = GMIME_TEXT_PART(object);
  } else if (html == nullptr && g_mime_content_type_is_type(type, "text", "html")) {
    html = GMIME_TEXT_PART(object);
  }
}

bool IsAscii(const QByteArray& bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Bytes in the part's charset as Unicode, the bytes holding no NUL: the
// converters below hand back C strings.
QString DecodeText(const QByteArray& bytes, const char* charset, GMimeParserOptions* options) {
  const bool validUtf8 = g_utf8_validate(bytes.constData(), bytes.size(), nullptr);
  const QByteArray declared = QByteArray(charset == nullptr ? "" : charset).toLower();
  const bool declaredUnicode = declared == "utf-8" || declared == "utf8";
  const bool declaredAscii = declared == "us-ascii" || declared == "ascii";
  if (!declared.isEmpty() && !declaredUnicode && !(declaredAscii && !IsAscii(bytes))) {
    iconv_t converter = g_mime_iconv_open("UTF-8", charset);
    if (converter != reinterpret_cast<iconv_t>(-1)) {
      GCharPtr text(
          g_mime_iconv_strndup(converter, bytes.constData(), static_cast<size_t>(bytes.size())));
      g_mime_iconv_close(converter);
      if (text) return QString::fromUtf8(text.get());
    }
  }
  if (validUtf8) return QString::fromUtf8(bytes);
  // Undeclared, mislabelled or unknown: the fallback charset that fits best.
  GCharPtr text(
      g_mime_utils_decode_8bit(options, bytes.constData(), static_cast<size_t>(bytes.size())));
  return text ? QString::fromUtf8(text.get()) : QString::fromLatin1(bytes);
}

// Charsets in which a zero byte may be half of a character.
bool IsWideCharset(const char* charset) {
  const QByteArray name = QByteArray(charset == nullptr ? "" : charset).toLower();
  return name.startsWith("utf-16") || name.startsWith("utf-32") || name.startsWith("utf16") ||
         name.startsWith("utf32") || name.startsWith("ucs");
}

// The part's content with its transfer encoding undone, as Unicode. A NUL in
// the text stays a character (the Kelvo gets a stand-in for it) rather than
// ending the text there.
QString DecodeTextPart(GMimeTextPart* part, GMimeParserOptions* options) {
  GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(part));
  if (content == nullptr) return QString();
  GObjectPtr<GMimeStream> memory(g_mime_stream_mem_new());
  if (g_mime_data_wrapper_write_to_stream(content, memory.get()) < 0) return QString();
  GByteArray* raw = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
  const QByteArray bytes(reinterpret_cast<const char*>(raw->data),
                         static_cast<qsizetype>(raw->len));
  const char* charset = g_mime_text_part_get_charset(part);
  if (!bytes.contains('\0') || IsWideCharset(charset)) return DecodeText(bytes, charset, options);
  QStringList pieces;
  for (const QByteArray& piece : bytes.split('\0')) pieces << DecodeText(piece, charset, options);
  return pieces.join(QChar(0));
}

// The body of a message read from the stream; the failure's reason follows
// the message's name.
StoreResult<QString> BodyTextOf(GMimeStream* stream, GMimeParserOptions* options) {
  GObjectPtr<GMimeMessage> message = ParseMessage(stream, options);
  if (!message) {
    //: Follows a file's name or “the message”
    return StoreFailure{FailureKind::Message, Text::tr(" cannot be read as a mail message")};
  }
  GMimeTextPart* plain = nullptr;
  GMimeTextPart* html = nullptr;
  FindTextParts(g_mime_message_get_mime_part(message.get()), plain, html, 0);
  if (plain != nullptr) return WithCrLf(DecodeTextPart(plain, options));
  if (html != nullptr) return WithCrLf(HtmlToText(DecodeTextPart(html, options)));
  return QString();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

void EnsureGMimeInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { g_mime_init(); });
}

ParserOptionsPtr MakeParserOptions(const QLocale& locale) {
  EnsureGMimeInitialised();
  ParserOptionsPtr options(g_mime_parser_options_new());
  g_mime_parser_options_set_rfc2047_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
  g_mime_parser_options_set_address_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
  g_mime_parser_options_set_parameter_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
  const char* charsets[] = {"utf-8", LegacyCharset(locale.language()), "iso-8859-1", nullptr};
  g_mime_parser_options_set_fallback_charsets(options.get(), charsets);
  return options;
}

std::optional<qint64> ParseMailDate(const QByteArray& text) {
  EnsureGMimeInitialised();
  const QByteArray trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  GDateTimePtr date(g_mime_utils_header_decode_date(trimmed.constData()));
  if (!date) return std::nullopt;
  return static_cast<qint64>(g_date_time_to_unix(date.get())) * 1000 +
         g_date_time_get_microsecond(date.get()) / 1000;
}

StoreResult<HeaderTexts> ParseHeaderTexts(const QByteArray& headerBlock,
                                          GMimeParserOptions* options) {
  EnsureGMimeInitialised();
  QByteArray bytes = headerBlock;
  if (!bytes.endsWith("\n\n") && !bytes.endsWith("\n\r\n")) bytes += "\n\n";
  GObjectPtr<GMimeStream> stream(
      g_mime_stream_mem_new_with_buffer(bytes.constData(), static_cast<size_t>(bytes.size())));
  GObjectPtr<GMimeMessage> message = ParseMessage(stream.get(), options);
  if (!message)
    return StoreFailure{FailureKind::Message, Text::tr("the message header cannot be read")};

  HeaderTexts texts;
  texts.subject = FromUtf8(g_mime_message_get_subject(message.get()));
  texts.senderName = FirstName(g_mime_message_get_from(message.get()));
  if (texts.senderName.isEmpty())
    texts.senderName = FirstName(g_mime_message_get_sender(message.get()));
  texts.to = JoinedNames(g_mime_message_get_to(message.get()));
  texts.cc = JoinedNames(g_mime_message_get_cc(message.get()));
  texts.bcc = JoinedNames(g_mime_message_get_bcc(message.get()));
  return texts;
}

StoreResult<QString> ReadBodyText(const QByteArray& path, GMimeParserOptions* options) {
  EnsureGMimeInitialised();
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return StoreFailure{FailureKind::Message,
                        //: %1 is a file, %2 the system's reason
                        Text::tr("cannot read %1: %2")
                            .arg(TextOfBytes(path), QString::fromLocal8Bit(strerror(errno)))};
  }
  GObjectPtr<GMimeStream> stream(g_mime_stream_fs_new(fd));  // owns fd from here on
  auto body = BodyTextOf(stream.get(), options);
  if (!body) return StoreFailure{FailureKind::Message, TextOfBytes(path) + body.reason()};
  return body;
}

StoreResult<QString> BodyTextOf(const QByteArray& message, GMimeParserOptions* options) {
  EnsureGMimeInitialised();
  GObjectPtr<GMimeStream> stream(
      g_mime_stream_mem_new_with_buffer(message.constData(), static_cast<size_t>(message.size())));
  auto body = BodyTextOf(stream.get(), options);
  //: Followed by “ cannot be read as a mail message”
  if (!body) return StoreFailure{FailureKind::Message, Text::tr("the message") + body.reason()};
  return body;
}

std::optional<QByteArray> FirstHeaderValue(const QByteArray& block, const QByteArray& name) {
  qsizetype lineStart = 0;
  while (lineStart < block.size()) {
    qsizetype lineEnd = block.indexOf('\n', lineStart);
    if (lineEnd < 0) lineEnd = block.size();
    const qsizetype colon = lineStart + name.size();
    const bool matches = !IsBlank(block[lineStart]) && colon < lineEnd &&
                         qstrnicmp(block.constData() + lineStart, name.constData(),
                                   static_cast<size_t>(name.size())) == 0;
    qsizetype valueStart = colon;
    while (matches && valueStart < lineEnd && IsBlank(block[valueStart])) ++valueStart;
    if (matches && valueStart < lineEnd && block[valueStart] == ':') {
      // Unfold: continuation lines start with a blank.
      QByteArray value = block.mid(valueStart + 1, lineEnd - valueStart - 1);
      qsizetype next = lineEnd + 1;
      while (next < block.size() && IsBlank(block[next])) {
        qsizetype nextEnd = block.indexOf('\n', next);
        if (nextEnd < 0) nextEnd = block.size();
        value += block.mid(next, nextEnd - next);
        next = nextEnd + 1;
      }
      value.replace('\r', "");
      return value.trimmed();
    }
    lineStart = lineEnd + 1;
  }
  return std::nullopt;
}

QString WithCrLf(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / 32);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r')) {
      out.append(QStringLiteral("\r\n"));
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    } else if (c == QLatin1Char('\n')) {
      out.append(QStringLiteral("\r\n"));
    } else {
      out.append(c);
    }
  }
  return out;
}

}  // namespace zandor::mime
