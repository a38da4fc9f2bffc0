// Fuzzes the reading of message files in a Maildir: the header block, the
// first value of a field, mail dates, the GMime header texts, and every
// property a stored message shows (Subject, SenderName, To, CC, BCC, Body,
// ReceivedTime, SentOn), read from one message file in a temporary Maildir.
//
// Input: a config byte (bits 0-1: the unique name, with or without a delivery
// time; bits 2-3: the most header bytes read, 1 MiB, 1, 64 or 16385; bit 4:
// a padding field first, so that what follows straddles the reader's 16 KiB
// chunks, bytes 16384 - 64 + (padding byte % 128) on; bits 5-6: the locale
// whose legacy code page undeclared text falls back to), a padding byte, then
// the message file.
//
// Checked: the header block is the file up to its first empty line (or the
// whole file, or maxBytes of it) as a plain scan finds it; a field value
// holds no CR or LF and no blanks at its ends; the body has every line end as
// CR LF; the times are valid; nothing crashes, leaks or reads out of bounds.

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "fuzz_support.h"
#include "mail/maildir/header_block.h"
#include "mail/maildir/maildir_files.h"
#include "mail/maildir/maildir_item.h"
#include "mail/maildir/message_reader.h"
#include "mail/maildir/store_core.h"
#include "sync/clock.h"

namespace {

using zandor::fuzz::Input;
namespace maildir = zandor::maildir;

// The Maildir every input is written into, made once per process.
struct Scratch {
  Scratch() : dir(TempRoot()) {
    ZANDOR_FUZZ_CHECK(dir.isValid());
    root = dir.path();
    for (const char* sub : {"/cur", "/new", "/tmp"}) {
      ZANDOR_FUZZ_CHECK(QDir().mkpath(root + QLatin1String(sub)));
    }
  }
  static QString TempRoot() {
    // Memory-backed when the machine has it: each input is one file write.
    if (QDir(QStringLiteral("/dev/shm")).exists())
      return QStringLiteral("/dev/shm/zandor-fuzz-XXXXXX");
    return QDir::tempPath() + QStringLiteral("/zandor-fuzz-XXXXXX");
  }
  QTemporaryDir dir;
  QString root;
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

const zandor::FixedClock& TheClock() {
  static const zandor::FixedClock clock(QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC));
  return clock;
}

QLocale LocaleOf(int index) {
  switch (index) {
    case 1:
      return QLocale(QLocale::Russian, QLocale::Russia);
    case 2:
      return QLocale(QLocale::Polish, QLocale::Poland);
    case 3:
      return QLocale(QLocale::Greek, QLocale::Greece);
    default:
      return QLocale::c();
  }
}

QString UniqueOf(int index) {
  switch (index) {
    case 1:
      return QStringLiteral("nodate.fuzz");
    case 2:
      return QStringLiteral("99999999999.M1P1.fuzz");
    case 3:
      return QStringLiteral("-5.M1.fuzz");
    default:
      return QStringLiteral("1772390000.M1P1.fuzz");
  }
}

qsizetype MaxBytesOf(int index) {
  switch (index) {
    case 1:
      return 1;
    case 2:
      return 64;
    case 3:
      return 16385;
    default:
      return 1024 * 1024;
  }
}

// Where the header ends: just past the first empty line, as a plain scan of
// the whole text finds it; -1 when there is none.
qsizetype ReferenceHeaderEnd(const QByteArray& data) {
  if (data.startsWith('\n')) return 1;
  if (data.startsWith("\r\n")) return 2;
  const qsizetype lf = data.indexOf("\n\n");
  const qsizetype crlf = data.indexOf("\n\r\n");
  if (lf < 0 && crlf < 0) return -1;
  if (lf < 0) return crlf + 3;
  if (crlf < 0) return lf + 2;
  return std::min(lf + 2, crlf + 3);
}

void CheckValue(const std::optional<QByteArray>& value) {
  if (!value) return;
  ZANDOR_FUZZ_CHECK(!value->contains('\r') && !value->contains('\n'));
  ZANDOR_FUZZ_CHECK(*value == value->trimmed());
}

void CheckCrLf(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('\r')) {
      ZANDOR_FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'));
    } else if (text[i] == QLatin1Char('\n')) {
      ZANDOR_FUZZ_CHECK(i > 0 && text[i - 1] == QLatin1Char('\r'));
    }
  }
}

void WriteFile(const QByteArray& path, const QByteArray& bytes) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ZANDOR_FUZZ_CHECK(fd >= 0);
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    ZANDOR_FUZZ_CHECK(wrote > 0);
    done += wrote;
  }
  ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Dates and the fallback code pages must not depend on the machine's zone.
  ::setenv("TZ", "UTC", 1);
  maildir::EnsureGMimeInitialised();
  TheScratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  const std::uint8_t config = input.Byte();
  const std::uint8_t padding = input.Byte();
  QByteArray file = input.Rest();
  if ((config & 16) != 0) {
    const qsizetype target = 16384 - 64 + (padding % 128);
    QByteArray pad = "X-Pad: ";
    pad += QByteArray(std::max<qsizetype>(target - pad.size() - 1, 0), 'p');
    pad += '\n';
    file.prepend(pad);
  }

  const QString unique = UniqueOf(config & 3);
  const QByteArray path = maildir::NativePath(TheScratch().root + QStringLiteral("/cur/") + unique +
                                              QStringLiteral(":2,S"));
  WriteFile(path, file);

  // The header block and its fields.
  const qsizetype maxBytes = MaxBytesOf((config >> 2) & 3);
  int error = 0;
  auto block = maildir::ReadHeaderBlock(path, &error, maxBytes);
  ZANDOR_FUZZ_CHECK(block.ok());
  const QByteArray limited = file.left(maxBytes);
  const qsizetype end = ReferenceHeaderEnd(limited);
  ZANDOR_FUZZ_CHECK(block->bytes == (end < 0 ? limited : limited.left(end)));
  for (const char* name : {"Received", "Date", "Subject", "From", "To", "Cc", "Bcc"}) {
    const std::optional<QByteArray> value = maildir::FirstHeaderValue(block->bytes, name);
    CheckValue(value);
    if (value) (void)maildir::ParseMailDate(*value);
  }

  // Every property of the message, as the store reads it.
  auto core = std::make_shared<maildir::StoreCore>(TheScratch().root, LocaleOf((config >> 5) & 3),
                                                   TheClock());
  (void)maildir::ParseHeaderTexts(block->bytes, core->options.get());
  maildir::MaildirItem item(core, maildir::NativePath(TheScratch().root + QStringLiteral("/cur")),
                            maildir::MessageEntry{unique, path, std::nullopt, false});
  for (const zandor::ItemText which :
       {zandor::ItemText::Subject, zandor::ItemText::SenderName, zandor::ItemText::To,
        zandor::ItemText::CC, zandor::ItemText::BCC, zandor::ItemText::Body}) {
    const zandor::StoreResult<QString> text = item.Text(which);
    if (text && which == zandor::ItemText::Body) CheckCrLf(text.value());
  }
  const zandor::StoreResult<QDateTime> received = item.ReceivedTime();
  if (received) ZANDOR_FUZZ_CHECK(received.value().isValid());
  const zandor::StoreResult<QDateTime> sent = item.SentOn();
  if (sent) ZANDOR_FUZZ_CHECK(sent.value().isValid());

  ::unlink(path.constData());
  return 0;
}
