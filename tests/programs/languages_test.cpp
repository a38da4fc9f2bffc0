// zandor --sync speaks the desktop's language, and the Kelvo hears the same
// bytes in every language.
#include <gtest/gtest.h>

#include <QFile>
#include <QTranslator>

#include "support/program_world.h"
#include "support/qt_print.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

struct Spoken {
  QString out, err;
  QStringList sent;  // what the PC wrote on the line, in order
};

// One run in a world of its own: a message in the Inbox dated `when`, under
// LANG=lang and nothing that would override it. Nothing is written on the
// Kelvo: the name of a draft made from it would differ from run to run.
Spoken RunIn(const QString& lang, const QDateTime& when) {
  ProgramWorld world;
  TestMessage message;
  message.subject = u"Agenda"_s;
  message.received = message.date = when;
  world.Mail().Add({u"Inbox"_s}, message);
  world.WriteKelvo();
  for (const char* overriding : {"LC_ALL", "LC_MESSAGES", "LC_TIME", "LANGUAGE"})
    world.Env().remove(QLatin1String(overriding));
  world.Env().insert(u"LANG"_s, lang);
  EXPECT_TRUE(world.StartKelvo());
  const QString trace = world.Path(u"line.trace"_s);
  const ProgramWorld::Run run = world.Zandor({u"--sync"_s, u"--trace"_s, trace});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  QFile file(trace);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QStringList sent;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
    if (line.startsWith(u"PC  "_s)) sent << line;
  return {run.out, run.err, sent};
}

class LanguagesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LanguagesTest, StatusLinesTranslatedWhileTheKelvoHearsTheSameBytes) {
  const QDateTime when = QDateTime::currentDateTimeUtc().addSecs(-3600);
  const Spoken english = RunIn(u"C"_s, when);
  const QString language = QString::fromLatin1(GetParam());
  const Spoken spoken = RunIn(language + u"_"_s + language.toUpper() + u".UTF-8"_s, when);

  QTranslator words;
  ASSERT_TRUE(words.load(u"zandor_"_s + language, QStringLiteral(ZANDOR_QM_DIR)));
  const auto said = [&words](const char* context, const char* text) {
    const QString translated = words.translate(context, text);
    EXPECT_FALSE(translated.isEmpty() || translated == QLatin1String(text)) << text;
    return translated;
  };
  ASSERT_FALSE(english.sent.isEmpty());
  EXPECT_EQ(spoken.sent, english.sent);
  EXPECT_TRUE(english.out.contains(u"[1] Handshaking...\n"_s)) << english.out.toStdString();
  EXPECT_TRUE(english.out.endsWith(u"[1] Sent: 1\n[2] Received: 0\n"_s))
      << english.out.toStdString();
  EXPECT_TRUE(spoken.out.contains(u"[1] "_s + said("SyncDriver", "Handshaking...") + u'\n'))
      << spoken.out.toStdString();
  EXPECT_TRUE(spoken.out.endsWith(u"[1] "_s + said("SyncDriver", "Sent: %1").arg(1) + u"\n[2] "_s +
                                  said("SyncDriver", "Received: %1").arg(0) + u'\n'))
      << spoken.out.toStdString();
  EXPECT_TRUE(english.err.contains(u"zandor: complete: "_s)) << english.err.toStdString();
  EXPECT_TRUE(spoken.err.contains(u"zandor: "_s + said("RunReport", "complete: ")))
      << spoken.err.toStdString();
}

// LANGUAGE comes first, as on the desktops that set it, but messages in the C
// locale are English whatever it says: what a script runs reads the same.
TEST(LanguageChoiceTest, LanguageFirstButACLocaleIsEnglish) {
  ProgramWorld world;
  const auto usage = [&world](std::initializer_list<std::pair<const char*, const char*>> env) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
      world.Env().remove(QLatin1String(name));
    for (const auto& [name, value] : env)
      world.Env().insert(QLatin1String(name), QLatin1String(value));
    return world.Zandor({u"--help"_s}).out.section(u' ', 0, 0);
  };
  EXPECT_EQ(usage({{"LANGUAGE", "de"}, {"LC_ALL", "C"}}), u"Usage:"_s);
  EXPECT_EQ(usage({{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}), u"Usage:"_s);
  EXPECT_EQ(usage({{"LANGUAGE", "de"}}), u"Usage:"_s);
  EXPECT_EQ(usage({{"LANGUAGE", "de:ru"}, {"LANG", "ru_RU.UTF-8"}}), u"Aufruf:"_s);
  EXPECT_EQ(usage({{"LC_MESSAGES", "ru_RU.UTF-8"}, {"LANG", "C"}}), u"Вызов:"_s);
}

INSTANTIATE_TEST_SUITE_P(Each, LanguagesTest, ::testing::Values("ru", "de"));

}  // namespace
}  // namespace zandor::testing
