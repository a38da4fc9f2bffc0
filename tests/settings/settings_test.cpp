#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <tuple>

#include "settings/lenient_number.h"
#include "settings/memory_settings_store.h"
#include "settings/password_command.h"
#include "settings/qsettings_store.h"
#include "settings/stored_options.h"
#include "support/qt_print.h"
#include "support/row_name.h"

namespace zandor {

using namespace Qt::StringLiterals;
namespace {

constexpr double kInf = HUGE_VAL;
using std::nullopt;
using M = ConversionMode;
const auto U = [](const char* text) { return QString::fromUtf8(text); };

// The part limit is the number rounded down, when that fits in 16 bits.
TEST(LenientNumberTest, ReadsTheNumberAtTheStartOfTheText) {
  // clang-format off
  const std::pair<const char*, double> rows[] = {
      {"", 0}, {" \t\n", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"++1", 0}, {"&", 0}, {"&H", 0},
      {"&X1", 0}, {"١٢", 0}, {"12", 12}, {" 1 2\t3\n", 123}, {"+5", 5}, {"-2.5", -2.5},
      {".5", .5}, {"5.", 5}, {"1.2.3", 1.2}, {"3-4", 3}, {"2.5e1x", 25}, {"1E-2", 0.01}, {"1e", 1},
      {"1e+", 1}, {"1e--2", 1}, {"&H1A", 26}, {"&hff", 255}, {"& H 1 0", 16}, {"&O17", 15},
      {"&o78", 7}, {"&HZ", 0}, {"1e999", kInf}, {"1e999-", kInf}, {"-1e999", -kInf},
      {"-1e-999", 0}, {"1e-999", 0}, {"32768", 32768}, {"32767.9", 32767.9}, {"-32768", -32768},
      {"-32768.5", -32768.5}, {"0x10", 0}, {"+.5e-3", .5e-3}, {"1e308", 1e308}, {"1e309", kInf}};
  // clang-format on
  for (const auto& [text, value] : rows) {
    EXPECT_EQ(ReadLenientNumber(U(text)), value) << text;
    const double whole = std::floor(value);
    const bool fits = whole >= -32768 && whole <= 32767;
    EXPECT_EQ(ReadPartLimit(U(text)), fits ? std::optional<int>(int(whole)) : nullopt) << text;
  }
  EXPECT_TRUE(std::signbit(ReadLenientNumber(u"-1e-999"_s)));
  EXPECT_FALSE(std::signbit(ReadLenientNumber(u"1e-999"_s)));
}

TEST(LenientNumberTest, RoundingMinimumAnd16BitBounds) {
  for (int k = -5; k <= 5; ++k) {
    EXPECT_EQ(std::tuple(RoundHalfToEven(k), RoundHalfToEven(k + 0.25), RoundHalfToEven(k + 0.5),
                         RoundHalfToEven(k + 0.75)),
              std::tuple(double(k), double(k), double(k % 2 == 0 ? k : k + 1), double(k + 1)));
    for (int j = -5; j <= 5; ++j) {
      qint16 a = static_cast<qint16>(k), b = static_cast<qint16>(j);
      EXPECT_EQ(MinOfAbsolutes(a, b), std::min(std::abs(k), std::abs(j)));
      EXPECT_EQ(std::pair(int(a), int(b)), std::pair(std::abs(k), std::abs(j)));
    }
  }
  const std::pair<double, std::optional<qint16>> int16s[] = {
      {-32768.5, nullopt}, {-32768, -32768}, {32767, 32767}, {32767.5, nullopt},
      {kInf, nullopt},     {NAN, nullopt},   {-1.9, -1},     {2.9, 2}};
  for (const auto& [value, want] : int16s) EXPECT_EQ(ToInt16(value), want) << value;
}

// A settings store holding "Section/Key=value" lines.
MemorySettingsStore StoreOf(const std::vector<const char*>& lines) {
  MemorySettingsStore store;
  for (const char* line : lines) {
    const QString text = U(line);
    const qsizetype slash = text.indexOf(u'/'), equals = text.indexOf(u'=');
    store.Write(text.left(slash), text.mid(slash + 1, equals - slash - 1), text.mid(equals + 1));
  }
  return store;
}

// The restored options in a line: port, range and long-message values (0 is
// none), the conversion button selected (W, R, D, or - for none), the parts text.
QString Digest(const StoredOptions& o) {
  const char* conversion = !o.conversion                       ? "-"
                           : *o.conversion == M::RussianOstrel ? "R"
                           : *o.conversion == M::RussianDravo  ? "D"
                                                               : "W";
  return u"port %1, range %2, conv %3, long %4, parts %5"_s.arg(o.port)
      .arg(int(o.range))
      .arg(U(conversion))
      .arg(int(o.longMessages))
      .arg(o.parts);
}

struct RestoreRow {
  std::vector<const char*> stored;
  const char* restored;
};
class RestoreTest : public ::testing::TestWithParam<RestoreRow> {};

TEST_P(RestoreTest, StoredNumbersReadAsTheListsShowThem) {
  EXPECT_EQ(Digest(ReadStoredOptions(StoreOf(GetParam().stored))), U(GetParam().restored));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Stored, RestoreTest, ::testing::Values(
    RestoreRow{{}, "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=0"}, "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=2.5"}, "port 2, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=3.5"}, "port 4, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port= 4"}, "port 4, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=5"}, "port 1, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=-1"}, "port 1, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=abc"}, "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=1e999"}, "port 1, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Com/Port=&H3"}, "port 3, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Sync/Days=2"}, "port 0, range 2, conv W, long 1, parts 0"},
    RestoreRow{{"Sync/Days=5"}, "port 0, range 5, conv W, long 1, parts 0"},
    RestoreRow{{"Sync/Days=6"}, "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Sync/Days=1.5"}, "port 0, range 2, conv W, long 1, parts 0"},
    RestoreRow{{"Sync/Days=0.5"}, "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Split/SplitMode=3"}, "port 0, range 0, conv W, long 3, parts 0"},
    RestoreRow{{"Split/SplitMode=0"}, "port 0, range 0, conv W, long 0, parts 0"},
    RestoreRow{{"Split/SplitMode=4"}, "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"Split/SplitNum=13"}, "port 0, range 0, conv W, long 1, parts 12"},
    RestoreRow{{"Split/SplitNum=abc"}, "port 0, range 0, conv W, long 1, parts -1"},
    RestoreRow{{"Split/SplitNum=2.5"}, "port 0, range 0, conv W, long 1, parts 1.5"},
    RestoreRow{{"SymbolsConversion/RussianConversion=0", "SymbolsConversion/WesternConversion=1"},
               "port 0, range 0, conv R, long 1, parts 0"},
    RestoreRow{{"SymbolsConversion/RussianConversion=0", "SymbolsConversion/DravoConversion=0",
                "SymbolsConversion/WesternConversion=1"}, "port 0, range 0, conv D, long 1, parts 0"},
    RestoreRow{{"SymbolsConversion/RussianConversion=0", "SymbolsConversion/DravoConversion=0"},
               "port 0, range 0, conv W, long 1, parts 0"},
    RestoreRow{{"SymbolsConversion/DravoConversion=x", "SymbolsConversion/WesternConversion=1"},
               "port 0, range 0, conv D, long 1, parts 0"},
    RestoreRow{{"SymbolsConversion/WesternConversion=1"}, "port 0, range 0, conv -, long 1, parts 0"}));
// clang-format on

// What OK writes reads back as it was, for every list position and button.
TEST(StoredOptionsTest, WhatIsWrittenReadsBack) {
  for (int i = 0; i < 5 * 6 * 4 * 4; ++i) {
    StoredOptions written;
    written.port = i % 5;
    written.range = DateRange(i / 5 % 6);
    const int conversion = i / 30 % 4;
    if (conversion > 0) written.conversion = M(conversion - 1);
    written.longMessages = LongMessages(i / 120);
    written.parts = i % 2 ? U("12") : U(" 7x");
    MemorySettingsStore store;
    WriteStoredOptions(store, written);
    StoredOptions read = ReadStoredOptions(store);
    if (i % 2 == 0) written.parts = U("7");  // stored as a number
    EXPECT_EQ(Digest(read), Digest(written)) << i;
    EXPECT_EQ(store.Values().count({U("Ports"), U("COM1")}), 0u);
  }
  MemorySettingsStore store;
  StoredOptions paths = ReadStoredOptions(store);
  paths.portPaths[2] = U(" /dev/ttyUSB0 ");
  paths.mailFolder = QDir::homePath() + U("/Maildir");
  store.Write(U("Store"), U("Maildir"), U("/old"));
  WriteStoredOptions(store, paths);
  EXPECT_EQ(std::tuple(store.Read(U("Ports"), U("COM3")), store.Read(U("Ports"), U("COM2")),
                       store.Read(U("Store"), U("Maildir"))),
            std::tuple(U("/dev/ttyUSB0"), nullopt, nullopt));
  paths = ReadStoredOptions(store);
  EXPECT_EQ(std::pair(paths.portPaths[2], paths.portPaths[1]),
            std::pair(U("/dev/ttyUSB0"), U("/dev/ttyS1")));
  paths.port = 1;
  const SyncOptions options = SyncOptionsOf(paths);
  EXPECT_EQ(std::tuple(options.portPath, options.mode, options.fullSync),
            std::tuple(U("/dev/ttyS0"), M::Western, false));
  paths.port = 0;
  paths.conversion = M::RussianDravo;
  EXPECT_EQ(std::pair(SyncOptionsOf(paths).portPath, SyncOptionsOf(paths).mode),
            std::pair(QString(), M::RussianDravo));
}

// A first start (no port, or one that reads as 0) stores port 1 and "Last 7
// days", and nothing else; any other start stores nothing.
TEST(StoredOptionsTest, FirstRunStoresPortAndRangeOnce) {
  const std::pair<const char*, bool> rows[] = {{nullptr, true}, {"0", true},    {"abc", true},
                                               {"-0", true},    {"0.4", false}, {"2", false}};
  for (const auto& [port, first] : rows) {
    MemorySettingsStore store;
    if (port) store.Write(U("Com"), U("Port"), U(port));
    store.Write(U("Sync"), U("Days"), U("4"));
    auto want = store.Values();
    if (first) want[{U("Com"), U("Port")}] = U("1"), want[{U("Sync"), U("Days")}] = U("2");
    RunFirstRunStep(store);
    EXPECT_EQ(store.Values(), want) << (port ? port : "absent");
  }
  EXPECT_EQ(NumberText(-0.0), U("0"));
  EXPECT_EQ(NumberText(1.0 / 3), U("0.333333333333333"));
}

TEST(StoredOptionsTest, RecordOptionsAndMailFolder) {
  SyncOptions o;
  o.mode = M::RussianOstrel;
  o.longMessages = LongMessages::SplitAtMost;
  o.parts = U(" 12.7x");
  const RecordOptions r = RecordOptionsOf(o);
  EXPECT_EQ(std::tuple(r.mode, r.longMessages, r.partsTextLength, r.partLimit),
            std::tuple(M::RussianOstrel, LongMessages::SplitAtMost, qsizetype{6},
                       std::optional<int>(12)));
  const std::pair<DateRange, int> offsets[] = {
      {DateRange::NotChosen, -10000}, {DateRange::LastDay, -1},     {DateRange::Last7Days, -7},
      {DateRange::Last30Days, -30},   {DateRange::Last90Days, -90}, {DateRange::All, -10000}};
  for (const auto& [range, days] : offsets) EXPECT_EQ(DateRangeOffsetDays(range), days);
  MemorySettingsStore store;
  const QString home = QDir::homePath();
  EXPECT_EQ(StoredMailFolder(store), home + U("/Maildir"));
  EXPECT_EQ(
      std::tuple(MailFolderPath(U(" ~/Mail ")), MailFolderPath(U("~")), MailFolderPath(U("~x"))),
      std::tuple(home + U("/Mail"), home, U("~x")));
  store.Write(U("Store"), U("Maildir"), U("/srv/mail"));
  store.Write(U("Ports"), U("COM3"), U("  "));
  EXPECT_EQ(std::pair(StoredMailFolder(store), ReadStoredOptions(store).portPaths[2]),
            std::pair(U("/srv/mail"), U("/dev/ttyS2")));
}

// The store's kind and the [Imap] keys as read, then as written back: the
// default kind and the defaults of port and security are left absent.
struct ImapRow {
  const char* name;
  std::vector<const char*> stored;
  const char* read;     // kind, host, port used, security, user, command, certificate, pin, login
  const char* written;  // the keys written back, in order
};
class ImapOptionsTest : public ::testing::TestWithParam<ImapRow> {};

TEST_P(ImapOptionsTest, ReadAndWrittenBack) {
  const StoredOptions o = ReadStoredOptions(StoreOf(GetParam().stored));
  const QString read = QStringList{o.storeKind == StoreKind::Imap ? U("imap") : U("maildir"),
                                   o.imap.host,
                                   QString::number(ImapPort(o.imap)),
                                   QString::number(int(o.imap.security)),
                                   o.imap.user,
                                   o.imap.passwordCommand,
                                   o.imap.certificateFile,
                                   o.imap.certificateFingerprint,
                                   QString::number(int(o.imap.login))}
                           .join(U("|"));
  EXPECT_EQ(read, U(GetParam().read));
  MemorySettingsStore written;
  WriteStoredOptions(written, o);
  QStringList keys;
  for (const auto& [at, value] : written.Values())
    if (at.first == U("Imap") || at.second == U("Kind")) keys << at.second + u'=' + value;
  EXPECT_EQ(keys.join(u' '), U(GetParam().written));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapOptionsTest, ::testing::Values(
    ImapRow{"AbsentKindIsMaildir", {"Store/Maildir=/m"}, "maildir||993|0|||||0", ""},
    ImapRow{"ImapWithDefaults", {"Store/Kind=IMAP", "Imap/Host=mail.example.org", "Imap/User=ann"},
            "imap|mail.example.org|993|0|ann||||0", "Host=mail.example.org User=ann Kind=imap"},
    ImapRow{"StartTlsOwnPort", {"Store/Kind=imap", "Imap/Security=starttls", "Imap/Port=1143",
                                "Imap/PasswordCommand=pass show mail/work",
                                "Imap/CertificateFile=/etc/ca.pem", "Imap/CertificateFingerprint= AB:CD ", "Imap/Login=XOAuth2"},
            "imap||1143|1||pass show mail/work|/etc/ca.pem| AB:CD |1",
            "CertificateFile=/etc/ca.pem CertificateFingerprint=AB:CD Login=xoauth2 PasswordCommand=pass show mail/work Port=1143 "
            "Security=starttls Kind=imap"},
    ImapRow{"PlainDefaultPortAndUnknownWords", {"Store/Kind=pop", "Imap/Security=none",
                                                "Imap/Port=143"},
            "maildir||143|2|||||0", "Security=none"},
    ImapRow{"BadPortAndSecurityFallBack", {"Imap/Security=ssl", "Imap/Port=99999"},
            "maildir||993|0|||||0", ""}),
    testing::RowName());
// clang-format on

// The password is the command's first line; a failure says why, with the
// command's status and the first line it wrote to standard error.
struct CommandRow {
  const char* name;
  const char* command;
  int timeoutMs;
  const char* password;  // empty when it fails
  const char* failure;   // part of the reason
};
class PasswordCommandTest : public ::testing::TestWithParam<CommandRow> {};

TEST_P(PasswordCommandTest, FirstLineOrWhyNot) {
  const CommandPassword got = RunPasswordCommand(U(GetParam().command), GetParam().timeoutMs);
  if (*GetParam().password) {
    EXPECT_EQ(std::get<QString>(got), U(GetParam().password));
  } else {
    ASSERT_TRUE(std::holds_alternative<CommandFailure>(got));
    EXPECT_TRUE(std::get<CommandFailure>(got).reason.contains(U(GetParam().failure)))
        << std::get<CommandFailure>(got).reason.toStdString();
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, PasswordCommandTest, ::testing::Values(
    CommandRow{"FirstLine", "printf 's3 cret\\nsecond\\n'", 5000, "s3 cret", ""},
    CommandRow{"Fails", "echo locked >&2; echo no; exit 3", 5000, "",
               "ended with status 3; it said: locked"},
    CommandRow{"PrintsNothing", "true", 5000, "", "printed no password"},
    CommandRow{"TooSlow", "sleep 5", 200, "", "did not finish within 0.2 seconds"},
    CommandRow{"NoCommand", " ", 5000, "", "no command is set"}),
    testing::RowName());
// clang-format on

// Keys and sections holding '/', '\' and '%' come back exactly from the INI
// file in the test's own configuration folder.
TEST(QSettingsStoreTest, KeysAndSectionsRoundTripThroughTheFile) {
  const QStringList keys = {U("Inbox/Work"), U("a\\b"),       U("a%2Fb"),      U("%25"),
                            U("Входящие"),   U("Mixed/CASE"), U("mixed/case"), U("a/b\\c%")};
  const QStringList sections = {U("Folders"), U("A/B")};
  for (const QString& key : keys)
    for (const QString& section : sections) QSettingsStore().Write(section, key, section + key);
  const QSettingsStore reader;
  EXPECT_TRUE(reader.FilePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
  for (const QString& key : keys)
    for (const QString& section : sections) EXPECT_EQ(reader.Read(section, key), section + key);
  QSettingsStore().Delete(U("A/B"), U("a/b\\c%"));
  EXPECT_EQ(std::tuple(reader.Read(U("A/B"), U("a/b\\c%")), reader.Read(U("Folders"), U("a/b\\c%")),
                       reader.Read(U("Folders"), U("Inbox")), reader.Read(U("A"), U("B/a\\b"))),
            std::tuple(nullopt, U("Foldersa/b\\c%"), nullopt, nullopt));
  const QString alphabet = U("%/\\25CFa");
  for (int n = 0; n < 4096; ++n) {
    QString key;
    for (int d = n; key.size() < 4; d /= 8) key += alphabet[d % 8];
    EXPECT_EQ(UnescapeSettingsKey(EscapeSettingsKey(key)), key);
    EXPECT_FALSE(EscapeSettingsKey(key).contains(u'/') || EscapeSettingsKey(key).contains(u'\\'));
  }
}

// A settings file that cannot be read faithfully is named with why, before
// anything reads or writes it; a FIFO in its place does not block.
TEST(QSettingsStoreTest, NamesAFileItCannotReadFaithfully) {
  QTemporaryDir dir;
  const QString path = dir.filePath(U("Zandor/Zandor.ini"));
  const auto write = [&path](const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  };
  const std::pair<std::function<bool()>, const char*> rows[] = {
      {[] { return true; }, nullptr},
      {[&] { return write("[Com]\nPort=1\n"); }, nullptr},
      {[&] { return QDir().mkpath(path); }, "it is a folder"},
      {[&] { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
       "it is not a regular file"},
      {[&] { return write(QByteArray("\xff\xfe[\0C\0]\0", 8)); }, "it is not UTF-8 text"},
      {[&] { return write(QByteArray("P=\x80\x01", 4)); }, "it is not UTF-8 text"},
      {[&] { return QFile::link(path, path); }, "Too many levels of symbolic links"}};
  for (const auto& [prepare, says] : rows) {
    QDir(dir.filePath(U("Zandor"))).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir.filePath(U("Zandor"))) && prepare());
    const std::optional<QString> why = QSettingsStore(path).Unreadable();
    EXPECT_EQ(why.has_value(), says != nullptr) << why.value_or(QString()).toStdString();
    if (says) {
      EXPECT_TRUE(why->contains(U(says))) << why->toStdString();
    }
  }
  const auto noHome = QSettingsStore(U("/no-such-home/.config/Zandor/Zandor.ini")).Unreadable();
  EXPECT_TRUE(noHome && noHome->contains(U("There is no home folder")));
}

// A value written by hand reads as written, the lines after it too, also
// after the program has written the file again; a value in the form the
// program writes reads as it wrote it, and what it writes reads back. (The
// programs' trust table runs hand-written quotes and semicolons through zandor.)
struct WrittenRow {
  const char* name;
  const char* line;  // the value as it stands in the file
  const char* read;
};
class AsWrittenTest : public ::testing::TestWithParam<WrittenRow> {};

TEST_P(AsWrittenTest, ReadAsWrittenAndWrittenBackTheSame) {
  QTemporaryDir dir;
  const QString path = dir.filePath(U("Zandor.ini"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("[Imap]\nKey=") + GetParam().line + "\nNext=after\n");
  file.close();
  QSettingsStore store(path);
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(store.Read(U("Imap"), U("Key")), U(GetParam().read)) << pass;
    EXPECT_EQ(store.Read(U("Imap"), U("Next")), U("after")) << pass;
    store.Write(U("Com"), U("Port"), U("1"));  // the file is written again
  }
  store.Write(U("Imap"), U("Key"), U(GetParam().read));
  EXPECT_EQ(store.Read(U("Imap"), U("Key")), U(GetParam().read));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, AsWrittenTest, ::testing::Values(
    WrittenRow{"Plain", "ann", "ann"},
    WrittenRow{"Comma", "x, y", "x, y"},
    WrittenRow{"LoneBackslash", "C:\\dir\\x", "C:\\dir\\x"},
    WrittenRow{"WrittenEscaped", "say \\\"hi\\\" \\\\ there", "say \"hi\" \\ there"},
    WrittenRow{"WrittenQuoted", "\"a;b\"", "a;b"},
    WrittenRow{"WrittenAt", "@@x", "@x"}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace zandor
