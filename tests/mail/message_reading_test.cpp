// Decoding real-world message forms through the store: encoded words, every
// charset, transfer encodings, multipart structures, HTML-only mail, and
// messages that are broken.
#include <gtest/gtest.h>

#include "mail/maildir/html_text.h"
#include "store_fixture.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::MaildirLayout;
using testing::Path;
using testing::StoreFixture;

struct ReadRow {
  const char* name;
  QByteArray raw;
  const char* subject;  // UTF-8; nullptr: not checked
  const char* sender;
  const char* to;
  const char* cc;
  const char* bcc;
  const char* body;
  const char* locale = "en_US";
};

class MessageReading : public ::testing::TestWithParam<ReadRow> {};

void ExpectText(MailItem& item, ItemText which, const char* expected, const char* what) {
  auto text = item.Text(which);
  if (expected == nullptr) return;  // read without a crash is all that is asked
  ASSERT_TRUE(text.ok()) << what << ": " << text.reason().toStdString();
  EXPECT_EQ(text.value(), QString::fromUtf8(expected)) << what;
}

TEST_P(MessageReading, DecodesEveryProperty) {
  const ReadRow& row = GetParam();
  StoreFixture fixture(MaildirLayout::PlusPlus, QLocale(QString::fromLatin1(row.locale)));
  const QString unique =
      fixture.builder.AddRaw(Path({"Inbox"}), row.raw, QStringLiteral("1772500000.M1P1.test"));
  auto item = fixture.Find(Path({"Inbox"}), unique);
  ASSERT_TRUE(item);
  ExpectText(*item, ItemText::Subject, row.subject, "Subject");
  ExpectText(*item, ItemText::SenderName, row.sender, "SenderName");
  ExpectText(*item, ItemText::To, row.to, "To");
  ExpectText(*item, ItemText::CC, row.cc, "CC");
  ExpectText(*item, ItemText::BCC, row.bcc, "BCC");
  ExpectText(*item, ItemText::Body, row.body, "Body");
  EXPECT_TRUE(item->ReceivedTime().ok());
  EXPECT_TRUE(item->SentOn().ok());
}

const QByteArray kAlternative =
    "From: a@example.org\nSubject: alt\nMIME-Version: 1.0\n"
    "Content-Type: multipart/alternative; boundary=XX\n\n"
    "--XX\nContent-Type: text/html\n\n<p>html version</p>\n"
    "--XX\nContent-Type: text/plain; charset=utf-8\n\nplain version\n--XX--\n";

const QByteArray kAttachmentFirst =
    "From: a@example.org\nSubject: att\nMIME-Version: 1.0\n"
    "Content-Type: multipart/mixed; boundary=B\n\n"
    "--B\nContent-Type: text/plain\nContent-Disposition: attachment; filename=notes.txt\n\nnot me\n"
    "--B\nContent-Type: text/plain\n\nthe body\n--B--\n";

const QByteArray kEncrypted =
    "From: a@example.org\nSubject: secret\nMIME-Version: 1.0\n"
    "Content-Type: multipart/encrypted; protocol=\"application/pgp-encrypted\"; boundary=E\n\n"
    "--E\nContent-Type: application/pgp-encrypted\n\nVersion: 1\n"
    "--E\nContent-Type: application/octet-stream\n\n-----BEGIN PGP MESSAGE-----\nxx\n--E--\n";

QByteArray DeepNesting() {
  QByteArray raw =
      "Subject: deep\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b0\n\n";
  for (int i = 0; i < 200; ++i) {
    raw += "--b" + QByteArray::number(i) + "\nContent-Type: multipart/mixed; boundary=b" +
           QByteArray::number(i + 1) + "\n\n";
  }
  return raw + "--b200\nContent-Type: text/plain\n\nbottom\n";
}

QByteArray Garbage() {
  QByteArray raw;
  for (int i = 0; i < 4096; ++i) raw.append(static_cast<char>((i * 7919 + 13) % 256));
  return raw;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MessageReading,
    ::testing::Values(
        ReadRow{"QEncodedLatin1Subject", "Subject: Essai =?iso-8859-1?Q?accentu=E9?=\n\nx\n",
                "Essai accentué", "", "", "", "", "x\r\n"},
        ReadRow{"CharacterSplitAcrossEncodedWords",
                "Subject: =?utf-8?b?w6nD?= =?utf-8?b?qQ==?=\n\nx\n", "éé", nullptr, nullptr,
                nullptr, nullptr, nullptr},
        ReadRow{"Iso2022JpSubject", "Subject: =?iso-2022-jp?B?GyRCN29MPhsoQg==?=\n\nx\n", "件名",
                nullptr, nullptr, nullptr, nullptr, nullptr},
        ReadRow{"Koi8rBase64Body",
                "Subject: k\nContent-Type: text/plain; charset=koi8-r\n"
                "Content-Transfer-Encoding: base64\n\n8NLJ18XULCDNydI=\n",
                "k", nullptr, nullptr, nullptr, nullptr, "Привет, мир"},
        ReadRow{"ShiftJisBody",
                "Subject: s\nContent-Type: text/plain; charset=shift_jis\n"
                "Content-Transfer-Encoding: 8bit\n\n\x93\xfa\x96\x7b\x8c\xea\n",
                "s", nullptr, nullptr, nullptr, nullptr, "日本語\r\n"},
        ReadRow{"QuotedPrintableSoftBreaks",
                "Subject: q\nContent-Type: text/plain; charset=iso-8859-1\n"
                "Content-Transfer-Encoding: quoted-printable\n\nDu texte accentu=E9 pour =E7a "
                "=\nsuite\n=E0 la fin=20\n",
                "q", nullptr, nullptr, nullptr, nullptr,
                "Du texte accentué pour ça suite\r\nà la fin \r\n"},
        ReadRow{"UndeclaredEightBitBody", "Subject: u\n\ncaf\xe9 cr\xe8me\n", "u", nullptr, nullptr,
                nullptr, nullptr, "café crème\r\n"},
        ReadRow{"UndeclaredEightBitHeaderInRussian", "Subject: \xce\xf2\xf7\xb8\xf2\n\nx\n",
                "Отчёт", nullptr, nullptr, nullptr, nullptr, nullptr, "ru_RU"},
        ReadRow{"MislabelledAscii",
                "Subject: m\nContent-Type: text/plain; charset=us-ascii\n\ncaf\xc3\xa9\n", "m",
                nullptr, nullptr, nullptr, nullptr, "café\r\n"},
        ReadRow{"UnknownCharset",
                "Subject: x\nContent-Type: text/plain; charset=x-no-such\n\ncaf\xc3\xa9\n", "x",
                nullptr, nullptr, nullptr, nullptr, "café\r\n"},
        ReadRow{"PlainPartOfAlternative", kAlternative, "alt", "a@example.org", "", "", "",
                "plain version"},
        ReadRow{"AttachmentIsNotTheBody", kAttachmentFirst, "att", nullptr, nullptr, nullptr,
                nullptr, "the body"},
        ReadRow{"HtmlOnly",
                "Subject: h\nContent-Type: text/html; charset=utf-8\n\n"
                "<html><head><title>T</title><style>p{}</style></head><body>"
                "<p>Hello&nbsp;<b>world</b> &amp; all&#33;</p><p>Bye<br>now</p>"
                "<ul><li>one</li><li>two</li></ul><script>alert(1)</script></body></html>\n",
                "h", nullptr, nullptr, nullptr, nullptr,
                "Hello world & all!\r\n\r\nBye\r\nnow\r\n\r\n- one\r\n- two"},
        ReadRow{"Addresses",
                "From: =?utf-8?q?J=C3=B6rg?= <joerg@example.org>\n"
                "To: Ann <ann@example.org>, bob@example.org\n"
                "Cc: Team: carl@example.org, Dora <dora@example.org>;\n"
                "Bcc: undisclosed-recipients:;\nSubject: a\n\nx\n",
                "a", "Jörg", "Ann; bob@example.org", "carl@example.org; Dora",
                "undisclosed-recipients", "x\r\n"},
        ReadRow{"SenderWithoutNameIsItsAddress", "From: <solo@example.org>\nSubject: s\n\nx\n", "s",
                "solo@example.org", nullptr, nullptr, nullptr, nullptr},
        ReadRow{"CrLfFile", "Subject: c\r\nFrom: a@b.c\r\n\r\nline 1\r\nline 2\r\n", "c", "a@b.c",
                nullptr, nullptr, nullptr, "line 1\r\nline 2\r\n"},
        ReadRow{"EncryptedHasNoReadableBody", kEncrypted, "secret", nullptr, nullptr, nullptr,
                nullptr, ""},
        ReadRow{"EmptyFile", "", "", "", "", "", "", nullptr},
        ReadRow{"HeaderWithoutBody", "Subject: only a header\nFrom: a@b.c", "only a header",
                "a@b.c", nullptr, nullptr, nullptr, nullptr},
        ReadRow{"BrokenBase64",
                "Subject: b\nContent-Transfer-Encoding: base64\n\n!!!not*base64===\n", "b", nullptr,
                nullptr, nullptr, nullptr, nullptr},
        ReadRow{"MultipartWithoutBoundary",
                "Subject: m\nContent-Type: multipart/mixed\n\n--x\n\ntext\n", "m", nullptr, nullptr,
                nullptr, nullptr, nullptr},
        ReadRow{"DeepNesting", DeepNesting(), "deep", nullptr, nullptr, nullptr, nullptr, nullptr},
        ReadRow{"Garbage", Garbage(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        ReadRow{"NulBytes", QByteArray("Subject: n\0ul\n\nbo\0dy\n", 22), nullptr, nullptr, nullptr,
                nullptr, nullptr, nullptr}),
    testing::RowName());

struct HtmlRow {
  const char* name;
  const char* html;
  const char* text;
};

class HtmlReduction : public ::testing::TestWithParam<HtmlRow> {};

TEST_P(HtmlReduction, GivesReadableText) {
  EXPECT_EQ(maildir::HtmlToText(QString::fromUtf8(GetParam().html)),
            QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HtmlReduction,
    ::testing::Values(
        HtmlRow{"BlanksCollapse", "a  \n\t b", "a b"},
        HtmlRow{"QuotedGreaterThanStaysInTheTag", "<input value=\"a>swordfish\"> hunter2",
                "hunter2"},
        HtmlRow{"Comment", "a<!-- <p>hidden</p> -->b", "ab"},
        HtmlRow{"NumericEntities", "&#x41;&#66;&#0;&#xD800;&bogus;",
                "AB\xef\xbf\xbd\xef\xbf\xbd&bogus;"},
        HtmlRow{"Preformatted", "<pre>a  b\n  c</pre>d", "a  b\n  c\n\nd"},
        HtmlRow{"TableCells", "<table><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></table>",
                "1 2\n3"},
        HtmlRow{"CutTag", "text<a href=", "text"},
        HtmlRow{"UnbalancedQuote", "<font face=Arial's>x</font>y", "xy"},
        HtmlRow{"ManyEmptyBlocks", "<p></p><p></p><div>a</div><p></p><p>b</p>", "a\n\nb"}),
    testing::RowName());

}  // namespace
}  // namespace zandor
