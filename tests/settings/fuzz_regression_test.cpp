// Cases the fuzz targets under fuzz/ met, kept as tests of the lenient
// number reading.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/lenient_number.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using zandor::testing::RowName;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Beyond double's range the value keeps its sign and its size: only the
// exponent's sign says "too small". A '-' after the number used to read as
// that sign, so "1e309x-5" read as 0 instead of infinity.
struct OutOfRangeRow {
  const char* name;
  const char* text;
  double expected;
};

class OutOfRangeTest : public ::testing::TestWithParam<OutOfRangeRow> {};

TEST_P(OutOfRangeTest, WhatFollowsTheNumberChangesNothing) {
  const OutOfRangeRow& row = GetParam();
  const double value = ReadLenientNumber(QString::fromUtf8(row.text));
  EXPECT_EQ(value, row.expected) << row.text;
  EXPECT_EQ(std::signbit(value), std::signbit(row.expected)) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutOfRangeTest,
    ::testing::Values(OutOfRangeRow{"HugeThenJunkWithMinus", "1e309x-5", kInf},
                      OutOfRangeRow{"HugeThenMinus", "1e309-", kInf},
                      OutOfRangeRow{"HugeAlone", "1e309", kInf},
                      OutOfRangeRow{"NegativeHugeThenMinus", "-1e309 - 1", -kInf},
                      OutOfRangeRow{"HugeWithPlusExponentThenMinus", "1e+400-", kInf},
                      OutOfRangeRow{"TinyThenJunk", "1e-400x", 0.0},
                      OutOfRangeRow{"NegativeTinyThenMinus", "-1e-400-", -0.0}),
    RowName());

}  // namespace
}  // namespace zandor
