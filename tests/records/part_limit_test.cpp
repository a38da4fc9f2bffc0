#include "records/part_limit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "settings/lenient_number.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RowName;

struct LimitRow {
  const char* name;
  const char* text;
  std::optional<int> expected;
};

class ReadPartLimitTest : public ::testing::TestWithParam<LimitRow> {};

TEST_P(ReadPartLimitTest, ReadsTheWholeNumberAtTheStart) {
  EXPECT_EQ(ReadPartLimit(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

// The options dialog stores the same text with its own lenient reading; both
// must agree, or a limit would mean one thing live and another after OK.
TEST_P(ReadPartLimitTest, AgreesWithTheDialogReading) {
  const std::optional<int> limit = ReadPartLimit(QString::fromUtf8(GetParam().text));
  const double lenient = std::floor(ReadLenientNumber(QString::fromUtf8(GetParam().text)));
  if (limit) {
    EXPECT_EQ(*limit, lenient);
  } else {
    EXPECT_FALSE(lenient >= -32768 && lenient <= 32767);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadPartLimitTest,
    ::testing::Values(
        LimitRow{"empty", "", 0}, LimitRow{"letters", "abc", 0}, LimitRow{"two", "2", 2},
        LimitRow{"blanks", " 1 2 ", 12}, LimitRow{"tab_and_line_feed", "1\t2\n", 12},
        LimitRow{"carriage_return_stops", "1\r2", 1}, LimitRow{"fraction_down", "2.9", 2},
        LimitRow{"leading_point", ".5", 0}, LimitRow{"negative_fraction_down", "-0.5", -1},
        LimitRow{"exponent", "1e2", 100}, LimitRow{"bare_exponent", "3e", 3},
        LimitRow{"tiny_exponent", "1e-999", 0}, LimitRow{"trailing_text", "7 parts", 7},
        LimitRow{"comma_stops", "1,5", 1}, LimitRow{"hex", "&H1A", 26},
        LimitRow{"octal", "&O17", 15}, LimitRow{"bad_prefix", "&X1", 0},
        LimitRow{"largest", "32767", 32767}, LimitRow{"smallest", "-32768", -32768},
        LimitRow{"too_large", "32768", std::nullopt}, LimitRow{"too_small", "-32769", std::nullopt},
        LimitRow{"huge_exponent", "1e999", std::nullopt}),
    RowName{});

}  // namespace
}  // namespace zandor
