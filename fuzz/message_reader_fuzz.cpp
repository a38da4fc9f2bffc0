// Fuzzes the reading of message files in a Maildir: the header block, the
// first value of a field, mail dates, and every
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

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "fuzz_support.h"
#include "store/maildir/maildir_files.h"
#include "store/maildir/maildir_item.h"

using namespace zandor;
using namespace Qt::StringLiterals;

// The Maildir every input is written into.
static QString root;

// The header as a plain scan finds it: up to just past the first empty line,
// or all of it when there is none.
static QByteArray ReferenceHeader(const QByteArray& text) {
  if (text.startsWith('\n') || text.startsWith("\r\n")) return text.left(text.indexOf('\n') + 1);
  const qsizetype lf = text.indexOf("\n\n"), crlf = text.indexOf("\n\r\n");
  if (lf < 0 && crlf < 0) return text;
  return text.left(lf >= 0 && (crlf < 0 || lf + 2 <= crlf + 3) ? lf + 2 : crlf + 3);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Dates and the fallback code pages must not depend on the machine's zone.
  ::setenv("TZ", "UTC", 1);
  mime::EnsureGMimeInitialised();
  static QTemporaryDir dir;
  ZANDOR_FUZZ_CHECK(dir.isValid() && QDir(dir.path()).mkpath(u"cur"_s));
  root = dir.path();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input{data, size};
  const std::uint8_t config = input.Byte();
  const int pad = 16384 - 64 + input.Byte() % 128;
  QByteArray file = input.Rest();
  if ((config & 16) != 0) file.prepend("X-Pad: " + QByteArray(pad - 8, 'p') + '\n');
  const char* uniques[] = {"1772390000.M1P1.fuzz", "nodate.fuzz", "99999999999.M1P1.f", "-5.M1.f"};
  const QString unique = QLatin1String(uniques[config & 3]);
  const QString name = root + u"/cur/"_s + unique + u":2,S"_s;
  QFile out(name);
  ZANDOR_FUZZ_CHECK(out.open(QFile::WriteOnly) && out.write(file) == file.size() && out.flush());

  // The header block and its fields.
  const qsizetype maxBytes = std::array<qsizetype, 4>{1 << 20, 1, 64, 16385}[(config >> 2) & 3];
  const QByteArray path = maildir::NativePath(name);
  auto block = maildir::ReadHeaderBlock(path, nullptr, maxBytes);
  ZANDOR_FUZZ_CHECK(block.ok() && block->bytes == ReferenceHeader(file.left(maxBytes)));
  for (const char* field : {"Received", "Date", "Subject", "From", "To", "Cc", "Bcc"}) {
    const QByteArray value = mime::FirstHeaderValue(block->bytes, field).value_or("");
    ZANDOR_FUZZ_CHECK(!value.contains('\r') && !value.contains('\n') && value == value.trimmed());
    (void)mime::ParseMailDate(value);
  }

  // Every property of the message, as the store reads it.
  static const FixedClock clock(QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC));
  static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Russian),
                                    QLocale(QLocale::Polish), QLocale(QLocale::Greek)};
  auto core = std::make_shared<maildir::StoreCore>(root, locales[(config >> 5) & 3], clock);
  maildir::MaildirItem item(core, maildir::NativePath(root + u"/cur"_s),
                            maildir::MessageEntry{unique, path, std::nullopt, false});
  static const QRegularExpression bareLineEnd(u"\r(?!\n)|(?<!\r)\n"_s);
  for (const ItemText which : {ItemText::Subject, ItemText::SenderName, ItemText::To, ItemText::CC,
                               ItemText::BCC, ItemText::Body}) {
    auto text = item.Text(which);
    // Every line end of the body is CR LF.
    ZANDOR_FUZZ_CHECK(which != ItemText::Body || !text || !text->contains(bareLineEnd));
  }
  if (auto received = item.ReceivedTime()) ZANDOR_FUZZ_CHECK(received->isValid());
  if (auto sent = item.SentOn()) ZANDOR_FUZZ_CHECK(sent->isValid());
  QFile::remove(name);
  return 0;
}
