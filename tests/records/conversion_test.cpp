#include "records/conversion.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <array>
#include <vector>

#include "settings/options.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RowName;

// The tables listed again, independently of the program's arrays: each line is
// "first code: the codes of that row", read at run time.
const char* const kWesternOutRows[] = {
    "128: 231 32 39 204 34 32 212 213 19 47 83 207 191 32 89 32",
    "144: 32 17 17 34 34 24 215 45 34 217 115 208 193 32 122 88",
    "160: 32 143 175 189 221 190 205 211 16 220 192 218 215 215 217 215",
    "176: 197 196 198 199 17 200 174 229 13 230 197 219 202 201 203 159",
    "192: 133 128 138 165 160 171 169 170 134 129 139 161 135 130 140 162",
    "208: 223 167 136 131 141 166 163 194 172 137 132 142 164 228 226 173",
    "224: 149 144 154 181 176 187 185 186 150 145 155 177 151 146 156 178",
    "240: 222 183 152 147 157 182 179 195 188 153 148 158 180 227 225 216",
};
const char* const kWesternInRows[] = {
    "128: 193 201 205 211 218 192 200 204 210 217 194 202 206 212 219 161",
    "144: 225 233 237 243 250 224 232 236 242 249 226 234 238 244 251 191",
    "160: 196 203 207 214 220 195 213 209 73 198 199 197 216 223 182 162",
    "176: 228 235 239 246 252 227 245 241 105 230 231 229 248 163 165 140",
    "192: 170 156 215 247 177 186 178 179 181 189 188 190 131 166 70 139",
    "208: 155 86 32 167 134 135 118 150 255 174 171 187 169 164 240 208",
    "224: 166 254 222 253 221 183 185 128",
};
const char* const kDeviceSymbolRows[] = {
    "16: 168 180 96 136 126 32 32 32 149 124 91 93 126 149 149 149",
};

// code -> converted code for the codes a listing covers; -1 elsewhere.
std::array<int, 256> ReadRows(const std::vector<const char*>& rows) {
  std::array<int, 256> map;
  map.fill(-1);
  for (const char* row : rows) {
    const QStringList parts = QString::fromLatin1(row).split(QLatin1Char(':'));
    int code = parts[0].toInt();
    for (const QString& value : parts[1].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      map[static_cast<std::size_t>(code++)] = value.toInt();
    }
  }
  return map;
}

const std::array<int, 256>& WesternOutListing() {
  static const auto map = ReadRows({std::begin(kWesternOutRows), std::end(kWesternOutRows)});
  return map;
}
const std::array<int, 256>& WesternInListing() {
  static const auto map = ReadRows({std::begin(kWesternInRows), std::end(kWesternInRows)});
  return map;
}
const std::array<int, 256>& DeviceSymbolListing() {
  static const auto map = ReadRows({std::begin(kDeviceSymbolRows), std::end(kDeviceSymbolRows)});
  return map;
}

// The Cyrillic pairs by position: a run of `count` positions whose host and
// device codes both rise by one, or single pairs.
struct CyrillicRun {
  int count, host, device;
};
constexpr CyrillicRun kCyrillicRuns[] = {
    {6, 224, 161}, {1, 184, 167},  {20, 230, 168}, {1, 252, 190}, {2, 250, 188}, {3, 253, 191},
    {1, 46, 46},   {1, 44, 44},    {1, 169, 220},  {1, 174, 217}, {1, 182, 204}, {1, 47, 47},
    {1, 35, 35},   {1, 38, 38},    {1, 33, 33},    {1, 63, 63},   {1, 34, 34},   {1, 37, 37},
    {4, 40, 40},   {1, 45, 45},    {1, 61, 61},    {1, 164, 221}, {1, 181, 200}, {1, 59, 59},
    {1, 58, 58},   {1, 185, 230},  {1, 95, 95},    {1, 36, 36},   {1, 60, 60},   {1, 62, 62},
    {1, 171, 218}, {1, 187, 219},  {1, 167, 211},  {1, 177, 196}, {1, 64, 64},   {6, 192, 128},
    {1, 168, 134}, {20, 198, 135}, {1, 220, 157},  {2, 218, 155}, {3, 221, 158},
};

std::vector<std::pair<int, int>> CyrillicListing() {
  std::vector<std::pair<int, int>> pairs;
  for (const CyrillicRun& run : kCyrillicRuns) {
    for (int i = 0; i < run.count; ++i) pairs.emplace_back(run.host + i, run.device + i);
  }
  return pairs;
}

class ConversionTablesTest : public ::testing::Test {
 protected:
  const ConversionTables tables = BuildConversionTables();
};

TEST_F(ConversionTablesTest, EveryWesternEntryMatchesTheListing) {
  for (std::size_t i = 0; i < 128; ++i) {
    EXPECT_EQ(tables.westernOut[i], WesternOutListing()[128 + i]) << "host code " << 128 + i;
  }
  for (std::size_t i = 0; i < 104; ++i) {
    EXPECT_EQ(tables.westernIn[i], WesternInListing()[128 + i]) << "device code " << 128 + i;
  }
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(tables.deviceSymbols[i], DeviceSymbolListing()[16 + i]) << "device code " << 16 + i;
  }
}

TEST_F(ConversionTablesTest, EveryCyrillicPairMatchesTheListingInOrder) {
  const auto pairs = CyrillicListing();
  ASSERT_EQ(pairs.size(), 98u);
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    EXPECT_EQ(tables.cyrillicHost[p], pairs[p].first) << "position " << p + 1;
    EXPECT_EQ(tables.cyrillicDevice[p], pairs[p].second) << "position " << p + 1;
  }
}

QByteArray Bytes(std::initializer_list<int> codes) {
  QByteArray out;
  for (int c : codes) out.append(static_cast<char>(c));
  return out;
}

QByteArray OneByte(int code) {
  return QByteArray(1, static_cast<char>(code));
}

int Code(const QByteArray& b) {
  return b.size() == 1 ? static_cast<unsigned char>(b[0]) : -1;
}

// Each of the 256 codes alone, in every mode and direction, against the listings.
TEST_F(ConversionTablesTest, EveryCodeConvertsOutgoingAsListed) {
  std::array<int, 256> russian;
  for (std::size_t c = 0; c < 256; ++c) russian[c] = static_cast<int>(c);
  for (const auto& [host, device] : CyrillicListing())
    russian[static_cast<std::size_t>(host)] = device;
  russian[9] = 32;
  for (int c = 0; c < 256; ++c) {
    const auto u = static_cast<std::size_t>(c);
    const int western = c == 9 ? 32 : c < 128 ? c : WesternOutListing()[u];
    EXPECT_EQ(Code(ConvertOutgoing(OneByte(c), ConversionMode::Western, 31, tables)), western)
        << "host code " << c;
    EXPECT_EQ(Code(ConvertOutgoing(OneByte(c), ConversionMode::RussianOstrel, 254, tables)),
              russian[u])
        << "host code " << c;
    EXPECT_EQ(Code(ConvertOutgoing(OneByte(c), ConversionMode::RussianDravo, 31, tables)),
              c == 9 ? 32 : c)
        << "host code " << c;
  }
}

TEST_F(ConversionTablesTest, EveryCodeConvertsIncomingAsListed) {
  std::array<int, 256> cyrillicBack;
  for (std::size_t c = 0; c < 256; ++c) cyrillicBack[c] = static_cast<int>(c);
  for (const auto& [host, device] : CyrillicListing()) {
    cyrillicBack[static_cast<std::size_t>(device)] = host;
  }
  for (int c = 0; c < 256; ++c) {
    const auto u = static_cast<std::size_t>(c);
    const int symbol = c >= 16 && c <= 31 ? DeviceSymbolListing()[u] : c;
    const int western = c >= 128 && c <= 231 ? WesternInListing()[u] : symbol;
    const int russian = cyrillicBack[static_cast<std::size_t>(symbol)];
    for (const auto& [mode, expected] : {std::pair{ConversionMode::Western, western},
                                         std::pair{ConversionMode::RussianOstrel, russian},
                                         std::pair{ConversionMode::RussianDravo, russian}}) {
      QByteArray text = OneByte(c);
      ConvertIncoming(text, mode, tables);
      EXPECT_EQ(Code(text), expected) << "device code " << c << " mode " << static_cast<int>(mode);
    }
  }
}

// Worked examples, one row each: the text before and after.
struct ConversionRow {
  const char* name;
  bool outgoing;
  ConversionMode mode;
  int separator;
  QByteArray text;
  QByteArray expected;
};

class ConversionExampleTest : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(ConversionExampleTest, ConvertsAsExpected) {
  const ConversionRow& row = GetParam();
  const ConversionTables tables = BuildConversionTables();
  QByteArray text = row.text;
  if (row.outgoing) {
    text = ConvertOutgoing(text, row.mode, static_cast<unsigned char>(row.separator), tables);
  } else {
    ConvertIncoming(text, row.mode, tables);
  }
  EXPECT_EQ(text.toHex(' '), row.expected.toHex(' '));
}

constexpr auto W = ConversionMode::Western;
constexpr auto R = ConversionMode::RussianOstrel;
constexpr auto D = ConversionMode::RussianDravo;

INSTANTIATE_TEST_SUITE_P(
    Rows, ConversionExampleTest,
    ::testing::Values(
        ConversionRow{"out_empty_western", true, W, 254, {}, {}},
        ConversionRow{"out_empty_ostrel", true, R, 254, {}, {}},
        ConversionRow{"out_empty_dravo", true, D, 31, {}, {}},
        ConversionRow{"in_empty_western", false, W, 254, {}, {}},
        ConversionRow{"in_empty_russian", false, R, 254, {}, {}},
        ConversionRow{"out_tab_and_line_end_western", true, W, 254, "a\tb\r\n\t", "a b\r\n "},
        ConversionRow{"out_tab_and_line_end_ostrel", true, R, 254, "a\tb\r\n\t", "a b\r\n "},
        ConversionRow{"out_tab_and_line_end_dravo", true, D, 31, "a\tb\r\n\t", "a b\r\n "},
        ConversionRow{"in_tab_and_line_end_untouched", false, W, 254, "a\tb\r\n", "a\tb\r\n"},
        ConversionRow{"out_western_letters", true, W, 254, Bytes({233, 128, 145, 146}),
                      Bytes({145, 231, 17, 17})},
        ConversionRow{"out_western_spaces", true, W, 254,
                      Bytes({129, 133, 141, 143, 144, 157, 160}), "       "},
        ConversionRow{"out_western_184_is_13", true, W, 254, Bytes({184}), Bytes({13})},
        ConversionRow{"out_western_separator_code_passes", true, W, 254, Bytes({254, 253}),
                      Bytes({254, 227})},
        ConversionRow{"out_western_other_separator_converts_254", true, W, 31, Bytes({254}),
                      Bytes({225})},
        ConversionRow{"out_ostrel_cyrillic", true, R, 254, Bytes({224, 255, 192, 223, 185}),
                      Bytes({161, 193, 128, 160, 230})},
        ConversionRow{"out_ostrel_latin_and_digits_pass", true, R, 254, "Abz09", "Abz09"},
        ConversionRow{"out_dravo_cyrillic_passes", true, D, 31, Bytes({224, 255, 192, 223, 185}),
                      Bytes({224, 255, 192, 223, 185})},
        ConversionRow{"in_western_letters", false, W, 254, Bytes({145, 16, 232, 255}),
                      Bytes({233, 168, 232, 255})},
        ConversionRow{"in_russian_letters", false, R, 254, Bytes({161, 128}), Bytes({224, 192})},
        ConversionRow{"in_russian_symbols_looked_up_again", false, R, 254,
                      Bytes({16, 17, 19, 24, 29, 30, 31, 21}),
                      Bytes({230, 242, 199, 212, 212, 212, 212, 32})},
        ConversionRow{"in_dravo_as_ostrel", false, D, 31, Bytes({161, 128, 16, 24, 21}),
                      Bytes({224, 192, 230, 212, 32})},
        ConversionRow{"in_below_16_untouched", false, R, 254, Bytes({0, 1, 9, 10, 13, 15}),
                      Bytes({0, 1, 9, 10, 13, 15})}),
    RowName{});

TEST(ConversionRoundTripTest, WesternQuotesAndTradeMarkComeBackAsTheirNearest) {
  const ConversionTables tables = BuildConversionTables();
  QByteArray text = ConvertOutgoing(Bytes({145, 153}), W, 254, tables);
  ConvertIncoming(text, W, tables);
  EXPECT_EQ(text, Bytes({180, 174}));
}

struct ModeRow {
  const char* name;
  bool ostrel, rus, dravo;
  ConversionMode expected;
};

class ModeOfTest : public ::testing::TestWithParam<ModeRow> {};

TEST_P(ModeOfTest, RusConvIsTestedBeforeDravoConv) {
  OptionValues options;
  options.ostrelConv = GetParam().ostrel;
  options.rusConv = GetParam().rus;
  options.dravoConv = GetParam().dravo;
  EXPECT_EQ(ModeOf(options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ModeOfTest,
                         ::testing::Values(ModeRow{"western", true, false, false, W},
                                           ModeRow{"none_selected", false, false, false, W},
                                           ModeRow{"ostrel", false, true, false, R},
                                           ModeRow{"dravo", false, false, true, D},
                                           ModeRow{"rus_and_dravo", false, true, true, R},
                                           ModeRow{"all_three", true, true, true, R},
                                           ModeRow{"western_and_dravo", true, false, true, D}),
                         RowName{});

}  // namespace
}  // namespace zandor
