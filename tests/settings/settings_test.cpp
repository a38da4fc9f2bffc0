#include <gtest/gtest.h>

#include <QDir>
#include <cmath>
#include <tuple>

#include "settings/first_run.h"
#include "settings/lenient_number.h"
#include "settings/memory_settings_store.h"
#include "settings/qsettings_store.h"
#include "settings/stored_options.h"
#include "support/qt_print.h"

namespace zandor {
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
      {"-32768.5", -32768.5}};
  // clang-format on
  for (const auto& [text, value] : rows) {
    EXPECT_EQ(ReadLenientNumber(U(text)), value) << text;
    const double whole = std::floor(value);
    const bool fits = whole >= -32768 && whole <= 32767;
    EXPECT_EQ(ReadPartLimit(U(text)), fits ? std::optional<int>(int(whole)) : nullopt) << text;
  }
  EXPECT_TRUE(std::signbit(ReadLenientNumber(QStringLiteral("-1e-999"))));
  EXPECT_FALSE(std::signbit(ReadLenientNumber(QStringLiteral("1e-999"))));
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

// The stored values every option is restored from, with the number each reads
// as (nullptr: the key is absent).
constexpr std::pair<const char*, double> kStored[] = {
    {nullptr, 0}, {"0", 0},   {"1", 1}, {"2", 2}, {"3.5", 3.5}, {"2.5", 2.5},   {"abc", 0},
    {"-1", -1},   {"99", 99}, {"4", 4}, {"5", 5}, {" 6", 6},    {"1e999", kInf}};
constexpr int kCount = std::size(kStored);
// clang-format off
constexpr const char* kKeys[] = {"Com/Port", "Sync/Days", "SymbolsConversion/RussianConversion",
    "SymbolsConversion/DravoConversion", "SymbolsConversion/WesternConversion", "Split/SplitMode",
    "Split/SplitNum"};
// clang-format on

// A list shows the stored number, rounded half to even, less one; a position
// outside -1..count-1 gives the fallback.
int Position(double stored, int count, int fallback) {
  const double position = std::nearbyint(stored) - 1;
  return position >= -1 && position <= count - 1 ? int(position) : fallback;
}
auto Fields(const OptionValues& o) {
  return std::tuple(o.portIndex, o.portPath, o.rangeIndex, o.kelvoRemove, o.outlookRemove,
                    o.ostrelConv, o.rusConv, o.dravoConv, o.splitModeIndex, o.partsText,
                    o.fullSync == CheckState::Unchecked);
}

// Each key takes every stored value; the three conversion keys in every combination.
TEST(StoredOptionsTest, RestoreAndFirstRunOverEveryStoredValue) {
  for (int i = 0; i < kCount * kCount * kCount; ++i) {
    const int a = i % kCount, b = i / kCount % kCount, c = i / kCount / kCount;
    const int pick[] = {a, b, a, b, c, (a + 5) % kCount, (b + 3) % kCount};
    MemorySettingsStore store;
    store.Write(U("Ports"), U("COM2"), U(" /dev/ttyUSB1 "));
    for (std::size_t k = 0; k < std::size(pick); ++k) {
      const QStringList key = U(kKeys[k]).split(QLatin1Char('/'));
      if (kStored[pick[k]].first) store.Write(key[0], key[1], U(kStored[pick[k]].first));
    }
    const auto number = [&](std::size_t k, double absent) {
      return kStored[pick[k]].first ? kStored[pick[k]].second : absent;
    };
    OptionValues want;
    want.portIndex = Position(number(0, 0), 4, 0);
    want.portPath = want.portIndex == 1  ? U("/dev/ttyUSB1")
                    : want.portIndex < 0 ? QString()
                                         : QStringLiteral("/dev/ttyS%1").arg(want.portIndex);
    want.rangeIndex = Position(number(1, 0), 5, -1);
    // Restored Russian, Dravo, Western: each selected unless 1, the last selected wins.
    const bool rus = number(2, 1) != 1, dravo = number(3, 1) != 1, western = number(4, 2) != 1;
    std::tie(want.rusConv, want.dravoConv, want.ostrelConv) =
        std::tuple(rus && !dravo && !western, dravo && !western, western);
    want.splitModeIndex = Position(number(5, 1), 3, 0);
    want.partsText = QString::number(number(6, 1) - 1);
    SCOPED_TRACE(i);
    EXPECT_EQ(Fields(RestoreStoredOptions(store)), Fields(want));
    // A first start (no port, or 0) stores port 1 and range 2, and nothing else.
    const bool first = number(0, 0) == 0;
    auto stored = store.Values();
    if (first) stored[{U("Com"), U("Port")}] = U("1"), stored[{U("Sync"), U("Days")}] = U("2");
    const RestoredPortAndRange shown = RunFirstRunStep(store);
    EXPECT_EQ(store.Values(), stored);
    EXPECT_EQ(std::pair(shown.portIndex, shown.rangeIndex),
              first ? std::pair(0, 1) : std::pair(want.portIndex, want.rangeIndex));
  }
  EXPECT_EQ(NumberText(-0.0), U("0"));
  EXPECT_EQ(NumberText(1.0 / 3), U("0.333333333333333"));
}

TEST(StoredOptionsTest, ModeMailFolderAndPortPath) {
  OptionValues o;
  for (int bits = 0; bits < 8; ++bits) {
    std::tie(o.ostrelConv, o.rusConv, o.dravoConv) = std::tuple(bits & 1, bits & 2, bits & 4);
    EXPECT_EQ(ModeOf(o), bits & 2 ? M::RussianOstrel : bits & 4 ? M::RussianDravo : M::Western);
  }
  o.splitModeIndex = 2;
  o.partsText = U(" 12.7x");
  const RecordOptions r = RecordOptionsOf(o);
  EXPECT_EQ(std::tuple(r.mode, r.splitModeIndex, r.partsTextLength, r.partLimit),
            std::tuple(M::RussianOstrel, 2, qsizetype{6}, std::optional<int>(12)));
  MemorySettingsStore store;
  const QString home = QDir::homePath();
  EXPECT_EQ(StoredMailFolder(store), home + U("/Maildir"));
  EXPECT_EQ(
      std::tuple(MailFolderPath(U(" ~/Mail ")), MailFolderPath(U("~")), MailFolderPath(U("~x"))),
      std::tuple(home + U("/Mail"), home, U("~x")));
  store.Write(U("Store"), U("Maildir"), U("/srv/mail"));
  store.Write(U("Ports"), U("COM3"), U("  "));
  EXPECT_EQ(std::pair(StoredMailFolder(store), StoredPortPath(store, 3)),
            std::pair(U("/srv/mail"), U("/dev/ttyS2")));
}

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
    EXPECT_FALSE(EscapeSettingsKey(key).contains(QLatin1Char('/')) ||
                 EscapeSettingsKey(key).contains(QLatin1Char('\\')));
  }
}

}  // namespace
}  // namespace zandor
