#include <gtest/gtest.h>

#include <cmath>

#include "settings/lenient_number.h"

namespace zandor {
namespace {

struct LenientCase {
  const char* text;
  double expected;
};

class LenientNumberTest : public ::testing::TestWithParam<LenientCase> {};

TEST_P(LenientNumberTest, ReadsTheNumberAtTheStart) {
  const LenientCase& c = GetParam();
  EXPECT_DOUBLE_EQ(ReadLenientNumber(QString::fromUtf8(c.text)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LenientNumberTest,
    ::testing::Values(LenientCase{"", 0}, LenientCase{"abc", 0}, LenientCase{"-", 0},
                      LenientCase{"+", 0}, LenientCase{".", 0}, LenientCase{".5", 0.5},
                      LenientCase{"5.", 5}, LenientCase{"12", 12}, LenientCase{"  12  ", 12},
                      LenientCase{"1 2 3", 123}, LenientCase{"1\t2\n3", 123},
                      LenientCase{"1\r2", 1},  // a carriage return is not ignored
                      LenientCase{"2.5e1x", 25}, LenientCase{"2.5e", 2.5},
                      LenientCase{"2.5e+", 2.5}, LenientCase{"1e-2", 0.01},
                      LenientCase{"1E2", 100}, LenientCase{"-4", -4}, LenientCase{"+7", 7},
                      LenientCase{"--4", 0}, LenientCase{"1.2.3", 1.2}, LenientCase{"12abc", 12},
                      LenientCase{"&H1A", 26}, LenientCase{"&h1a", 26}, LenientCase{"&H", 0},
                      LenientCase{"&HG", 0}, LenientCase{"&O17", 15}, LenientCase{"&O8", 0},
                      LenientCase{"& H 1 0", 16}, LenientCase{"&X12", 0},
                      LenientCase{"1,5", 1}, LenientCase{"\xd9\xa3", 0}  // Arabic-Indic three
                      ));

struct RoundCase {
  double value;
  double expected;
};

class RoundHalfToEvenTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfToEvenTest, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfToEven(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, RoundHalfToEvenTest,
                         ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{0.5, 0},
                                           RoundCase{1.5, 2}, RoundCase{-2.5, -2},
                                           RoundCase{-3.5, -4}, RoundCase{2.4, 2},
                                           RoundCase{2.6, 3}, RoundCase{-0.4, 0}, RoundCase{7, 7}));

TEST(MinOfAbsolutesTest, ReplacesBothByTheirAbsoluteValues) {
  qint16 a = -5;
  qint16 b = 999;
  EXPECT_EQ(MinOfAbsolutes(a, b), 5);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 999);
  qint16 c = 1500;
  qint16 d = 999;
  EXPECT_EQ(MinOfAbsolutes(c, d), 999);
}

TEST(ToInt16Test, RefusesWhatDoesNotFit) {
  EXPECT_EQ(ToInt16(32767.0), 32767);
  EXPECT_EQ(ToInt16(-32768.0), -32768);
  EXPECT_FALSE(ToInt16(32768.0));
  EXPECT_FALSE(ToInt16(-32769.0));
  EXPECT_FALSE(ToInt16(std::nan("")));
  EXPECT_FALSE(ToInt16(INFINITY));
}

}  // namespace
}  // namespace zandor
