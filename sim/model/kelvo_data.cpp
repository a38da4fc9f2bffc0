// The Kelvo's data file: its settings and messages as a readable JSON document.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include "kelvo_device.h"
#include "link/protocol.h"
#include "records/codepage.h"

namespace zandor::sim {

namespace {

const char* const kFieldNames[8] = {"subject", "from", "to", "body", "date", "folder", "cc", "bcc"};

// How the document's strings stand for the Kelvo's bytes.
enum class TextForm {
  Kelvo,    // each character U+0000..U+00FF is one byte, as it is
  Western,  // text as the Kelvo shows it in the Western conversion
  Russian,  // text as the Kelvo shows it in the Russian conversion
};

std::optional<TextForm> TextFormOf(const QString& name) {
  if (name.isEmpty() || name == QLatin1String("kelvo")) return TextForm::Kelvo;
  if (name == QLatin1String("western")) return TextForm::Western;
  if (name == QLatin1String("russian")) return TextForm::Russian;
  return std::nullopt;
}

QString TextFormName(TextForm form) {
  switch (form) {
    case TextForm::Western:
      return QStringLiteral("western");
    case TextForm::Russian:
      return QStringLiteral("russian");
    case TextForm::Kelvo:
      break;
  }
  return QStringLiteral("kelvo");
}

class TextCodec {
 public:
  TextCodec(TextForm form, unsigned char separator, const ConversionTables& tables)
      : form_(form), separator_(separator), tables_(tables) {}

  // A string when the form carries the bytes exactly, else {"bytes": ...}.
  QJsonValue Encode(const QByteArray& bytes) const {
    if (form_ == TextForm::Kelvo) return QString::fromLatin1(bytes);
    QByteArray host = bytes;
    ConvertIncoming(host, Mode(), tables_);
    const QString text = DecodeReceivedText(host, Mode(), tables_);
    if (FromText(text) == bytes) return text;
    return QJsonObject{{QStringLiteral("bytes"), QString::fromLatin1(bytes)}};
  }

  std::optional<QByteArray> Decode(const QJsonValue& value) const {
    if (value.isUndefined() || value.isNull()) return QByteArray();
    if (value.isObject()) return Latin1(value.toObject().value(QStringLiteral("bytes")));
    if (!value.isString()) return std::nullopt;
    if (form_ == TextForm::Kelvo) return Latin1(value);
    return FromText(value.toString());
  }

 private:
  ConversionMode Mode() const {
    return form_ == TextForm::Russian ? ConversionMode::RussianOstrel : ConversionMode::Western;
  }
  QByteArray FromText(const QString& text) const {
    return ConvertOutgoing(EncodeHostText(text, Mode()), Mode(), separator_, tables_);
  }
  static std::optional<QByteArray> Latin1(const QJsonValue& value) {
    if (!value.isString()) return std::nullopt;
    const QString text = value.toString();
    for (const QChar c : text) {
      if (c.unicode() > 0xFF) return std::nullopt;
    }
    return text.toLatin1();
  }

  TextForm form_;
  unsigned char separator_;
  const ConversionTables& tables_;
};

QJsonValue EncodeEntryId(const QByteArray& bytes) {
  const QString text = QString::fromUtf8(bytes);
  if (text.toUtf8() == bytes) return text;
  return QJsonObject{{QStringLiteral("bytes"), QString::fromLatin1(bytes)}};
}

}  // namespace

QJsonObject KelvoDevice::ToJson() const {
  // Strings keep the form the file was loaded with; a string that form cannot
  // carry exactly is written as {"bytes": ...}.
  const TextForm form = TextFormOf(textForm_).value_or(TextForm::Kelvo);
  const TextCodec codec(form, separator_, tables_);
  QJsonArray written;
  for (const Pending& pending : written_) {
    QJsonObject message;
    for (std::size_t i = 0; i < 8; ++i) {
      message.insert(QLatin1String(kFieldNames[i]), codec.Encode(pending.message.fields[i]));
    }
    written.append(message);
  }
  QJsonArray held;
  for (const HeldMessage& message : held_) {
    QJsonArray pieces;
    for (const QByteArray& piece : message.record.split(static_cast<char>(separator_))) {
      pieces.append(codec.Encode(piece));
    }
    held.append(QJsonObject{{QStringLiteral("deviceId"), message.deviceId},
                            {QStringLiteral("entryId"), EncodeEntryId(message.entryId)},
                            {QStringLiteral("kind"), message.kind},
                            {QStringLiteral("record"), pieces}});
  }
  return QJsonObject{
      {QStringLiteral("format"), QStringLiteral("kelvo-data")},
      {QStringLiteral("version"), 1},
      {QStringLiteral("separator"), static_cast<int>(separator_)},
      {QStringLiteral("text"), TextFormName(form)},
      {QStringLiteral("nextDeviceId"),
       QStringLiteral("%1").arg(nextDeviceId_, 8, 16, QLatin1Char('0')).toUpper()},
      {QStringLiteral("written"), written},
      {QStringLiteral("held"), held},
  };
}

std::optional<QString> KelvoDevice::LoadJson(const QJsonObject& object) {
  if (object.value(QStringLiteral("format")).toString() != QLatin1String("kelvo-data")) {
    return QStringLiteral("not a Kelvo data file (\"format\" is not \"kelvo-data\")");
  }
  if (object.value(QStringLiteral("version")).toInt() != 1) {
    return QStringLiteral("unknown version (this Kelvo reads version 1)");
  }
  const int separator = object.value(QStringLiteral("separator")).toInt(protocol::DefaultSeparator);
  if (separator != protocol::DravoSeparator && separator != protocol::DefaultSeparator) {
    return QStringLiteral("\"separator\" must be 31 or 254");
  }
  const std::optional<TextForm> form = TextFormOf(object.value(QStringLiteral("text")).toString());
  if (!form) return QStringLiteral("\"text\" must be \"kelvo\", \"western\" or \"russian\"");
  const TextCodec codec(*form, static_cast<unsigned char>(separator), tables_);

  bool ok = true;
  const QString next = object.value(QStringLiteral("nextDeviceId")).toString(QStringLiteral("1"));
  const quint32 nextDeviceId = next.toUInt(&ok, 16);
  if (!ok) return QStringLiteral("\"nextDeviceId\" is not a hexadecimal number");

  std::vector<WrittenMessage> written;
  for (const auto& value : object.value(QStringLiteral("written")).toArray()) {
    const QJsonObject message = value.toObject();
    WrittenMessage parsed;
    for (std::size_t i = 0; i < 8; ++i) {
      const std::optional<QByteArray> bytes =
          codec.Decode(message.value(QLatin1String(kFieldNames[i])));
      if (!bytes) {
        return QStringLiteral("written message %1: \"%2\" is not text")
            .arg(written.size() + 1)
            .arg(QLatin1String(kFieldNames[i]));
      }
      parsed.fields[i] = *bytes;
    }
    written.push_back(std::move(parsed));
  }

  std::vector<HeldMessage> held;
  for (const auto& value : object.value(QStringLiteral("held")).toArray()) {
    const QJsonObject message = value.toObject();
    HeldMessage parsed;
    parsed.deviceId = message.value(QStringLiteral("deviceId")).toString().toUpper();
    parsed.deviceId.toUInt(&ok, 16);
    if (!ok || parsed.deviceId.size() != 8) {
      return QStringLiteral("held message %1: \"deviceId\" is not eight hexadecimal digits")
          .arg(held.size() + 1);
    }
    const QJsonValue entryId = message.value(QStringLiteral("entryId"));
    if (entryId.isObject()) {
      const std::optional<QByteArray> bytes =
          TextCodec(TextForm::Kelvo, 0, tables_).Decode(entryId);
      if (!bytes) return QStringLiteral("held message %1: bad \"entryId\"").arg(held.size() + 1);
      parsed.entryId = *bytes;
    } else {
      parsed.entryId = entryId.toString().toUtf8();
    }
    parsed.kind = message.value(QStringLiteral("kind")).toInt();
    QList<QByteArray> pieces;
    for (const auto& piece : message.value(QStringLiteral("record")).toArray()) {
      const std::optional<QByteArray> bytes = codec.Decode(piece);
      if (!bytes) return QStringLiteral("held message %1: bad \"record\"").arg(held.size() + 1);
      pieces.append(*bytes);
    }
    parsed.record = pieces.join(static_cast<char>(separator));
    held.push_back(std::move(parsed));
  }

  separator_ = static_cast<unsigned char>(separator);
  textForm_ = TextFormName(*form);
  nextDeviceId_ = nextDeviceId;
  written_.clear();
  for (WrittenMessage& message : written) AddWritten(std::move(message));
  held_ = std::move(held);
  return std::nullopt;
}

std::optional<QString> KelvoDevice::SaveFile(const QString& path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  file.write(QJsonDocument(ToJson()).toJson(QJsonDocument::Indented));
  if (!file.commit()) return file.errorString();
  return std::nullopt;
}

std::optional<QString> KelvoDevice::LoadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (document.isNull()) return error.errorString();
  if (!document.isObject()) return QStringLiteral("the document is not a JSON object");
  return LoadJson(document.object());
}

}  // namespace zandor::sim
