#include "records/incoming_record.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <array>

#include "settings/options.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RowName;

struct IncomingRow {
  const char* name;
  int separator;
  bool dravo;         // the conversion option at parse time
  QByteArray record;  // as received, the appended 0x00 included
  bool found;
  std::array<QByteArray, 8> fields;
};

class ParseIncomingRecordTest : public ::testing::TestWithParam<IncomingRow> {};

TEST_P(ParseIncomingRecordTest, CutsEightFields) {
  const IncomingRow& row = GetParam();
  OptionValues options;
  options.ostrelConv = !row.dravo;
  options.dravoConv = row.dravo;
  const ConversionTables tables = BuildConversionTables();
  IncomingRecord out;
  out.fields[0] = "stale";
  const bool found = ParseIncomingRecord(row.record, static_cast<unsigned char>(row.separator),
                                         options, tables, out);
  EXPECT_EQ(found, row.found);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(out.fields[i].toHex(' '), row.fields[i].toHex(' ')) << "field " << i + 1;
  }
}

QByteArray Z(const char* text) {
  return QByteArray(text) + '\0';
}
QByteArray Nul() {
  return QByteArray(1, '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseIncomingRecordTest,
    ::testing::Values(
        IncomingRow{"letters_a_to_h",
                    31,
                    true,
                    Z("a\x1f"
                      "b\x1f"
                      "c\x1f"
                      "d\x1f"
                      "e\x1f"
                      "f\x1f"
                      "g\x1f"
                      "h"),
                    true,
                    {"a", "b", "c", "d", "e", "f", "g", "h"}},
        IncomingRow{"seven_separators_only", 31, true, Z("\x1f\x1f\x1f\x1f\x1f\x1f\x1f"), true, {}},
        IncomingRow{"field_8_keeps_further_separators",
                    254,
                    false,
                    Z("1\xfe"
                      "2\xfe"
                      "3\xfe"
                      "4\xfe"
                      "5\xfe"
                      "6\xfe"
                      "7\xfe"
                      "8\xfe"
                      "9\xfe"),
                    true,
                    {"1", "2", "3", "4", "5", "6", "7",
                     "8\xfe"
                     "9\xfe"}},
        IncomingRow{"six_separators",
                    31,
                    true,
                    Z("a\x1f"
                      "b\x1f"
                      "c\x1f"
                      "d\x1f"
                      "e\x1f"
                      "f\x1f"
                      "g"),
                    false,
                    {}},
        IncomingRow{"other_separator_value",
                    254,
                    false,
                    Z("a\x1f"
                      "b\x1f"
                      "c\x1f"
                      "d\x1f"
                      "e\x1f"
                      "f\x1f"
                      "g\x1f"
                      "h"),
                    false,
                    {}},
        IncomingRow{"no_final_nul",
                    31,
                    true,
                    QByteArray("a\x1f"
                               "b\x1f"
                               "c\x1f"
                               "d\x1f"
                               "e\x1f"
                               "f\x1f"
                               "g\x1f"
                               "h"),
                    false,
                    {}},
        IncomingRow{"empty_record", 31, true, Nul(), false, {}},
        IncomingRow{"nul_inside_first_seven_fields_is_a_character",
                    31,
                    true,
                    QByteArray("a") + Nul() +
                        "b\x1f\x1f\x1f\x1f\x1f\x1f\x1f"
                        "h" +
                        Nul(),
                    true,
                    {QByteArray("a") + Nul() + "b", {}, {}, {}, {}, {}, {}, "h"}},
        IncomingRow{"nul_inside_field_8_ends_it",
                    31,
                    true,
                    QByteArray("\x1f\x1f\x1f\x1f\x1f\x1f\x1f"
                               "ab") +
                        Nul() + "cd" + Nul(),
                    true,
                    {QByteArray(), {}, {}, {}, {}, {}, {}, "ab"}},
        // Each field is converted after it is cut out: device 225 becomes host
        // 254, the separator's code, without starting a new field.
        IncomingRow{"conversion_after_cutting_western",
                    254,
                    false,
                    Z("a\xe1"
                      "b\xfe\xfe\xfe\x91\xfe\xfe\xfe\xfe\x10"),
                    true,
                    {"a\xfe"
                     "b",
                     {},
                     {},
                     "\xe9",
                     {},
                     {},
                     {},
                     "\xa8"}},
        IncomingRow{"conversion_russian_every_field",
                    31,
                    true,
                    Z("\xa1\x1f\x80\x1f\x10\x1f\x18\x1f\x15\x1f\xa1\x1f\xa1\x1f\xa1"),
                    true,
                    {"\xe0", "\xc0", "\xe6", "\xd4", " ", "\xe0", "\xe0", "\xe0"}}),
    RowName{});

}  // namespace
}  // namespace zandor
