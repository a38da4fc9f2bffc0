#include "settings/qsettings_store.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(SettingsFile)
};

std::unique_ptr<QSettings> OpenSettings(const QString& iniPath) {
  if (!iniPath.isEmpty()) return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Zandor"), QStringLiteral("Zandor"));
}

QString GroupKey(const QString& section, const QString& key) {
  return EscapeSettingsKey(section) + QLatin1Char('/') + EscapeSettingsKey(key);
}

// A section or key that QSettings writes as it is, so that a line of the
// file can be matched to it by its text.
bool PlainName(const QString& name) {
  if (name.isEmpty()) return false;
  for (const QChar c : name) {
    if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'_') return false;
  }
  return true;
}

// A "Key=value" line of the settings file as the user wrote it, value trimmed.
struct WrittenValue {
  QString section, key, value;
};

// The lines of plain keys, in the order written. A value stands on its own
// line: unlike QSettings, a double quote never goes on to the next lines,
// nor does a ';' end it.
std::vector<WrittenValue> WrittenValues(const QString& path) {
  std::vector<WrittenValue> values;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return values;
  QString section;
  for (const QString& whole : QString::fromUtf8(file.readAll()).split(u'\n')) {
    const QString line = whole.trimmed();
    if (line.startsWith(u'[') && line.endsWith(u']')) {
      section = line.mid(1, line.size() - 2).trimmed();
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (line.startsWith(u';') || line.startsWith(u'#') || equals <= 0) continue;
    const QString key = line.left(equals).trimmed();
    if (PlainName(section) && PlainName(key)) {
      values.push_back({section, key, line.mid(equals + 1).trimmed()});
    }
  }
  return values;
}

const WrittenValue* Find(const std::vector<WrittenValue>& values, const QString& section,
                         const QString& key) {
  const WrittenValue* found = nullptr;  // the last one counts, as in QSettings
  for (const WrittenValue& each : values) {
    if (each.section == section && each.key == key) found = &each;
  }
  return found;
}

// The text QSettings writes for a string value: '"' and '\' escaped by a
// backslash, control characters by C escapes, the whole in double quotes
// when it holds ';', ',' or '=' or starts or ends with a blank, and a
// leading '@' doubled.
QString QSettingsForm(const QString& value) {
  static constexpr char kEscapes[] = "0......abtnvfr";
  const QString text = value.startsWith(u'@') ? u'@' + value : value;
  QString out;
  bool quoted = false;
  bool hexNext = false;  // after a numeric escape, a hex digit is escaped too
  for (const QChar c : text) {
    const char16_t ch = c.unicode();
    if (ch == u';' || ch == u',' || ch == u'=') quoted = true;
    const bool hexDigit = ch < 0x80 && std::isxdigit(static_cast<unsigned char>(ch)) != 0;
    if (hexNext && hexDigit) {
      out += QStringLiteral("\\x") + QString::number(ch, 16);
      continue;
    }
    hexNext = false;
    if (ch == u'"' || ch == u'\\') {
      out += u'\\';
      out += c;
    } else if (ch < 14 && kEscapes[ch] != '.') {
      out += u'\\';
      out += QLatin1Char(kEscapes[ch]);
      hexNext = ch == 0;
    } else if (ch <= 0x1F) {
      out += QStringLiteral("\\x") + QString::number(ch, 16);
      hexNext = true;
    } else {
      out += c;
    }
  }
  if (quoted || out.startsWith(u' ') || out.endsWith(u' ')) out = u'"' + out + u'"';
  return out;
}

// The value as the user wrote it, unless it is in the form QSettings writes
// (as the program itself and its earlier versions wrote it): then as
// QSettings reads it.
QString AsWritten(const WrittenValue& written, const QVariant& read) {
  const bool text = read.typeId() == QMetaType::QString;
  if (text && QSettingsForm(read.toString()) == written.value) return read.toString();
  return written.value;
}

// A value that QSettings would not read back as written (quotes, backslashes,
// a ';', a quote running on) is given to it in its own form before it
// writes the file again, so that the file keeps meaning what the user wrote.
void KeepWrittenValues(QSettings& settings) {
  const std::vector<WrittenValue> values = WrittenValues(settings.fileName());
  for (const WrittenValue& written : values) {
    if (Find(values, written.section, written.key) != &written) continue;
    const QString key = written.section + u'/' + written.key;
    const QVariant read = settings.value(key);
    const QString value = AsWritten(written, read);
    if (read.typeId() != QMetaType::QString || read.toString() != value) {
      settings.setValue(key, value);
    }
  }
}

}  // namespace

QString EscapeSettingsKey(const QString& key) {
  QString out;
  out.reserve(key.size());
  for (const QChar c : key) {
    if (c == QLatin1Char('%')) {
      out += QStringLiteral("%25");
    } else if (c == QLatin1Char('/')) {
      out += QStringLiteral("%2F");
    } else if (c == QLatin1Char('\\')) {
      out += QStringLiteral("%5C");
    } else {
      out += c;
    }
  }
  return out;
}

QString UnescapeSettingsKey(const QString& escaped) {
  QString out;
  out.reserve(escaped.size());
  for (qsizetype i = 0; i < escaped.size(); ++i) {
    const QStringView code = QStringView(escaped).mid(i, 3);
    if (code == u"%25") {
      out += QLatin1Char('%');
    } else if (code == u"%2F") {
      out += QLatin1Char('/');
    } else if (code == u"%5C") {
      out += QLatin1Char('\\');
    } else {
      out += escaped[i];
      continue;
    }
    i += 2;
  }
  return out;
}

std::optional<QString> QSettingsStore::Read(const QString& section, const QString& key) const {
  const auto settings = OpenSettings(iniPath_);
  const QVariant value = settings->value(GroupKey(section, key));
  if (PlainName(section) && PlainName(key)) {
    const std::vector<WrittenValue> written = WrittenValues(settings->fileName());
    if (const WrittenValue* line = Find(written, section, key)) return AsWritten(*line, value);
  }
  if (!value.isValid()) return std::nullopt;
  return value.toString();
}

void QSettingsStore::Write(const QString& section, const QString& key, const QString& value) {
  const auto settings = OpenSettings(iniPath_);
  KeepWrittenValues(*settings);
  settings->setValue(GroupKey(section, key), value);
  settings->sync();
}

void QSettingsStore::Delete(const QString& section, const QString& key) {
  const auto settings = OpenSettings(iniPath_);
  KeepWrittenValues(*settings);
  settings->remove(GroupKey(section, key));
  settings->sync();
}

QStringList QSettingsStore::Keys(const QString& section) const {
  const auto settings = OpenSettings(iniPath_);
  settings->beginGroup(EscapeSettingsKey(section));
  QStringList keys;
  for (const QString& escaped : settings->childKeys()) keys << UnescapeSettingsKey(escaped);
  settings->endGroup();
  // Lines that a quote further up hid from QSettings.
  for (const WrittenValue& written : WrittenValues(settings->fileName())) {
    if (written.section == section && !keys.contains(written.key)) keys << written.key;
  }
  return keys;
}

QString QSettingsStore::FilePath() const {
  // Named without opening it: a FIFO in its place must not block the start.
  if (!iniPath_.isEmpty()) return iniPath_;
  return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Zandor/Zandor.ini"));
}

namespace {

// Why the settings file at path cannot be read faithfully; empty when it can
// or is not there yet.
QString UnreadableReason(const QString& path, const QString& iniPath) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
    if (errno == ENOENT) return QString();  // a first start
    return QString::fromLocal8Bit(std::strerror(errno));
  }
  //: Why the settings file cannot be read (fills %2 of “The settings file %1 cannot be read: %2.”)
  if (S_ISDIR(info.st_mode)) return Text::tr("it is a folder");
  //: Why the settings file cannot be read
  if (!S_ISREG(info.st_mode)) return Text::tr("it is not a regular file");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  // QSettings would read other bytes as something and write them back changed.
  const QByteArray bytes = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  static_cast<void>(QString(utf8(bytes)));
  if (bytes.contains('\0') || utf8.hasError()) {
    //: Why the settings file cannot be read
    return Text::tr("it is not UTF-8 text (it may be UTF-16, or not text at all)");
  }
  if (OpenSettings(iniPath)->status() != QSettings::NoError) {
    //: Why the settings file cannot be read
    return Text::tr("it is not in the form of a settings file");
  }
  return QString();
}

}  // namespace

QString NoHomeFolderText(const QString& what, const QString& detail, const QString& variable) {
  //: %1 is what would be kept there (“the settings”), %2 a detail that may be empty, %3 an
  //: environment variable
  return Text::tr(
             "There is no home folder to keep %1 in%2.\n\rSet HOME (or %3) to your home folder, "
             "then start Zandor again. Nothing was changed.")
      .arg(what, detail, variable);
}

std::optional<QString> QSettingsStore::Unreadable() const {
  const QString path = FilePath();
  // Settings are made on a first start, but only in a home folder that is
  // there: never at the root of the file system.
  const QString configHome = QFileInfo(QFileInfo(path).path()).path();
  const QString home = QFileInfo(configHome).path();
  if (QFileInfo(path).isRelative() || (!QFileInfo(configHome).isDir() &&
                                       (home == QStringLiteral("/") || !QFileInfo(home).isDir()))) {
    return NoHomeFolderText(
        //: Fills %1 of “There is no home folder to keep %1 in%2.”
        Text::tr("the settings"),
        //: Fills %2 of “There is no home folder to keep %1 in%2.”: %1 is the settings file, %2 the
        //: folder that is missing
        Text::tr(": %1 would be made in %2, which does not exist").arg(path, configHome),
        QStringLiteral("XDG_CONFIG_HOME"));
  }
  const QString reason = UnreadableReason(path, iniPath_);
  if (reason.isEmpty()) return std::nullopt;  // readable, or a first start
  //: %1 is the settings file, %2 why (“it is a folder”…); the \n\r is a line break
  return Text::tr(
             "The settings file %1 cannot be read: %2.\n\rMend it or move it aside, then start "
             "Zandor again. Nothing was changed.")
      .arg(path, reason);
}

}  // namespace zandor
