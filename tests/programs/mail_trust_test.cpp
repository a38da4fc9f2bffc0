// What the user finds after zandor --sync with a Maildir: the text the Kelvo
// holds of awkward bodies, the recipients of a note as a mail reader reads
// them back from the draft, and the words for a message that cannot be read.
#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <QDirIterator>
#include <functional>

#include "store/mime/gmime_ptr.h"
#include "support/program_world.h"
#include "support/qt_print.h"
#include "support/row_name.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

const QStringList kInbox{u"Inbox"_s};

// The addresses of the To header of every draft, as a strict parser reads them.
QStringList DraftRecipients(const QString& mailRoot) {
  QStringList addresses;
  QDirIterator it(mailRoot + u"/.Drafts"_s, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QByteArray bytes = file.readAll();
    mime::GObjectPtr<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(bytes.constData(), static_cast<size_t>(bytes.size())));
    mime::GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    mime::GObjectPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message) continue;
    InternetAddressList* to = g_mime_message_get_to(message.get());
    for (int i = 0; i < internet_address_list_length(to); ++i) {
      InternetAddress* address = internet_address_list_get_address(to, i);
      addresses << (INTERNET_ADDRESS_IS_MAILBOX(address)
                        ? QString::fromUtf8(
                              internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)))
                        : u"group:"_s + QString::fromUtf8(internet_address_get_name(address)));
    }
  }
  return addresses;
}

QByteArray Message(const QByteArray& headers, const QByteArray& body) {
  return "Subject: Awkward\nFrom: ann@example.org\nMIME-Version: 1.0\n" + headers + "\n" + body;
}

struct MailTrustRow {
  const char* name;
  std::function<void(ProgramWorld&)> prepare;
  const char* found;  // in the Kelvo's records, or the draft's recipients joined by ' '
  const char* said = "";
};

class MailTrustTest : public ::testing::TestWithParam<MailTrustRow> {};

TEST_P(MailTrustTest, TheUserFindsEveryCharacterAndEveryAddress) {
  const MailTrustRow& row = GetParam();
  g_mime_init();
  ProgramWorld world;
  world.Mail().Folder(kInbox);
  world.WriteKelvo();
  row.prepare(world);
  ASSERT_TRUE(world.StartKelvo());
  const ProgramWorld::Run run = world.Zandor({u"--sync"_s, u"--verbose"_s});
  world.StopKelvo();
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  const QString found = QString::fromUtf8(row.found);
  const QString where = found.contains(u'@') ? DraftRecipients(world.Mail().Root()).join(u' ')
                                             : world.HeldTexts().join(u'\n');
  EXPECT_TRUE(found.contains(u'@') ? where == found : where.contains(found)) << where.toStdString();
  EXPECT_TRUE((run.out + run.err).contains(QString::fromUtf8(row.said))) << run.err.toStdString();
}

std::function<void(ProgramWorld&)> Body(QByteArray headers, QByteArray body) {
  return [headers, body](ProgramWorld& w) {
    w.Mail().AddRaw(kInbox, Message(headers, body),
                    u"%1.body"_s.arg(QDateTime::currentSecsSinceEpoch() - 60));
  };
}

std::function<void(ProgramWorld&)> Typed(const char* to) {
  return [to](ProgramWorld& w) { w.WriteKelvo({u"From the road"_s}, QString::fromUtf8(to)); };
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, MailTrustTest, ::testing::Values(
    MailTrustRow{"NulRaw", Body("", QByteArray("Before\0After\n", 13)), "Before?After"},
    MailTrustRow{"NulQuotedPrintable", Body("Content-Transfer-Encoding: quoted-printable\n",
                                            "Before=00After\n"), "Before?After"},
    MailTrustRow{"NulBase64", Body("Content-Type: text/plain; charset=iso-8859-1\n"
                                   "Content-Transfer-Encoding: base64\n", "QmVmb3JlAEFmdGVy\n"),
                 "Before?After"},
    MailTrustRow{"QuoteLeftOpen", Typed("\"Smith, John <js@ex.org>; ann@ex.org"),
                 "js@ex.org ann@ex.org"},
    MailTrustRow{"BracketLeftOpen", Typed("<js@ex.org; ann@ex.org"), "js@ex.org ann@ex.org"},
    MailTrustRow{"ListAndName", Typed("\"Smith, Ann\" <ann@ex.org>, bob@ex.org; Ivan"),
                 "ann@ex.org bob@ex.org group:Ivan"},
    // A link whose target cannot be reached is named, and the rest still go.
    MailTrustRow{"LinkLoop", [](ProgramWorld& w) {
      w.Add(kInbox, u"Readable"_s);
      const QString cur = w.Mail().Folder(kInbox) + u"/cur/"_s;
      const QString first = cur + u"%1.loop:2,S"_s.arg(QDateTime::currentSecsSinceEpoch() - 60);
      QFile::link(first + u"x"_s, first);
      QFile::link(first, first + u"x"_s);
    }, "Readable", "Skipped: Inbox / "}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
