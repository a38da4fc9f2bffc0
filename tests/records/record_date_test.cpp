#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "records/outgoing_record.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RowName;

struct DateRow {
  const char* name;
  const char* locale;
  QDate date;
  QTime time;
  const char* expectedUtf8;
};

class FormatRecordDateTest : public ::testing::TestWithParam<DateRow> {};

TEST_P(FormatRecordDateTest, UsesTheLocaleMonthAndTimeSeparator) {
  const DateRow& row = GetParam();
  const QDateTime when(row.date, row.time);  // local time, never the clock
  EXPECT_EQ(FormatRecordDate(when, QLocale(QString::fromLatin1(row.locale))),
            QString::fromUtf8(row.expectedUtf8));
}

const QDate kMarch7(2026, 3, 7);
const QTime kMorning(9, 5, 3);

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatRecordDateTest,
    ::testing::Values(
        DateRow{"c", "C", kMarch7, kMorning, "07-Mar-2026 9:05:03"},
        DateRow{"en_US", "en_US", kMarch7, kMorning, "07-Mar-2026 9:05:03"},
        DateRow{"de_DE", "de_DE", kMarch7, kMorning, "07-März-2026 9:05:03"},
        DateRow{"ru_RU", "ru_RU", kMarch7, kMorning, "07-мар.-2026 9:05:03"},
        DateRow{"midnight", "C", QDate(2026, 1, 1), QTime(0, 0, 0), "01-Jan-2026 0:00:00"},
        DateRow{"evening", "en_US", QDate(2025, 12, 31), QTime(23, 59, 58), "31-Dec-2025 23:59:58"},
        DateRow{"de_DE_december", "de_DE", QDate(2025, 12, 31), QTime(13, 4, 5),
                "31-Dez.-2025 13:04:05"},
        DateRow{"ru_RU_may", "ru_RU", QDate(2024, 5, 9), QTime(18, 0, 0), "09-мая-2024 18:00:00"},
        DateRow{"dot_time_separator", "fi_FI", kMarch7, kMorning, "07-maalisk.-2026 9.05.03"},
        DateRow{"twelve_hour_locale_still_24_hours", "en_US", kMarch7, QTime(21, 7, 9),
                "07-Mar-2026 21:07:09"},
        DateRow{"year_below_1000", "C", QDate(999, 2, 3), QTime(4, 5, 6), "03-Feb-0999 4:05:06"}),
    RowName{});

}  // namespace
}  // namespace zandor
