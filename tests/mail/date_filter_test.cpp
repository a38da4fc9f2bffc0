// The date filter text: built in the locale's short date format and read
// back by the store, with two-digit years read as the year nearest today.
#include "mail/date_filter.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/row_name.h"

namespace zandor {
namespace {

const QDate kTodays[] = {QDate(2026, 3, 3),   QDate(2024, 2, 29),  QDate(2028, 2, 29),
                         QDate(2000, 2, 29),  QDate(1999, 12, 31), QDate(2026, 1, 1),
                         QDate(2049, 12, 31), QDate(2050, 6, 15),  QDate(2100, 3, 1)};

struct LocaleRow {
  const char* name;
  const char* locale;
};

class FilterRoundTrip : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(FilterRoundTrip, EveryRangeOnEveryDayReadsBackAsItsDate) {
  const QLocale locale(QString::fromLatin1(GetParam().locale));
  for (const QDate& today : kTodays) {
    for (int range = 0; range <= 5; ++range) {
      const QString filter = BuildDateFilter(range, today, locale);
      const QDate expected = today.addDays(DateRangeOffsetDays(range));
      EXPECT_TRUE(filter.startsWith(QStringLiteral("[ReceivedTime] >= \"")))
          << filter.toStdString();
      EXPECT_TRUE(filter.endsWith(QStringLiteral("\" "))) << filter.toStdString();
      EXPECT_EQ(ParseDateFilter(filter, locale, today), std::optional<QDate>(expected))
          << filter.toStdString() << " today " << today.toString(Qt::ISODate).toStdString();
    }
  }
}

// The day before a 29 February, and 29 February itself as the filter date.
TEST_P(FilterRoundTrip, LeapDaysReadBack) {
  const QLocale locale(QString::fromLatin1(GetParam().locale));
  for (const QDate& leap : {QDate(2000, 2, 29), QDate(2024, 2, 29), QDate(1996, 2, 29)}) {
    const QDate today = leap.addDays(1);
    const QString filter = BuildDateFilter(0, today, locale);
    EXPECT_EQ(ParseDateFilter(filter, locale, today), std::optional<QDate>(leap))
        << filter.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, FilterRoundTrip,
                         ::testing::Values(LocaleRow{"C", "C"}, LocaleRow{"en_US", "en_US"},
                                           LocaleRow{"de_DE", "de_DE"}, LocaleRow{"ru_RU", "ru_RU"},
                                           LocaleRow{"en_GB", "en_GB"}, LocaleRow{"ko_KR", "ko_KR"},
                                           LocaleRow{"fa_IR", "fa_IR"}, LocaleRow{"ar_EG", "ar_EG"},
                                           LocaleRow{"bn_BD", "bn_BD"}, LocaleRow{"my_MM", "my_MM"},
                                           LocaleRow{"ne_NP", "ne_NP"},
                                           LocaleRow{"th_TH", "th_TH"}),
                         testing::RowName());

// Every locale the platform knows: the filter it builds must read back, or a
// user of that locale would never get a message in range.
TEST(FilterRoundTripAllLocales, EveryKnownLocaleReadsBack) {
  QStringList failures;
  const auto locales =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  ASSERT_GT(locales.size(), 100);
  for (const QLocale& locale : locales) {
    for (const QDate& today : {QDate(2026, 3, 3), QDate(2024, 3, 1)}) {
      for (int range : {0, 4}) {
        const QString filter = BuildDateFilter(range, today, locale);
        const QDate expected = today.addDays(DateRangeOffsetDays(range));
        if (ParseDateFilter(filter, locale, today) != std::optional<QDate>(expected)) {
          failures.append(locale.name() + QLatin1Char(' ') + filter);
        }
      }
    }
  }
  EXPECT_TRUE(failures.isEmpty()) << failures.size() << " failures, e.g. "
                                  << failures.mid(0, 10).join(QStringLiteral(" | ")).toStdString();
}

struct ParseRow {
  const char* name;
  const char* locale;
  const char* filter;
  QDate today;
  std::optional<QDate> expected;
};

class FilterParse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(FilterParse, ReadsTheDateOrNothing) {
  const ParseRow& row = GetParam();
  EXPECT_EQ(ParseDateFilter(QString::fromUtf8(row.filter), QLocale(QString::fromLatin1(row.locale)),
                            row.today),
            row.expected);
}

const QDate kToday(2026, 3, 3);

INSTANTIATE_TEST_SUITE_P(
    Rows, FilterParse,
    ::testing::Values(
        ParseRow{"US99IsThePast", "en_US", "[ReceivedTime] >= \"1/1/99\" ", kToday,
                 QDate(1999, 1, 1)},
        ParseRow{"US26IsThisYear", "en_US", "[ReceivedTime] >= \"12/31/26\" ", kToday,
                 QDate(2026, 12, 31)},
        ParseRow{"US75IsTheFuture", "en_US", "[ReceivedTime] >= \"1/1/75\" ", kToday,
                 QDate(2075, 1, 1)},
        ParseRow{"US76TieIsThePast", "en_US", "[ReceivedTime] >= \"1/1/76\" ", kToday,
                 QDate(1976, 1, 1)},
        ParseRow{"US77IsThePast", "en_US", "[ReceivedTime] >= \"1/1/77\" ", kToday,
                 QDate(1977, 1, 1)},
        ParseRow{"US00LeapDay", "en_US", "[ReceivedTime] >= \"2/29/00\" ", kToday,
                 QDate(2000, 2, 29)},
        ParseRow{"GermanTwoDigits", "de_DE", "[ReceivedTime] >= \"29.02.24\" ", kToday,
                 QDate(2024, 2, 29)},
        ParseRow{"RussianFourDigits", "ru_RU", "[ReceivedTime] >= \"01.02.1999\" ", kToday,
                 QDate(1999, 2, 1)},
        ParseRow{"CMonthName", "C", "[ReceivedTime] >= \"2 Mar 2026\" ", kToday, QDate(2026, 3, 2)},
        ParseRow{"NoTrailingBlank", "en_US", "[ReceivedTime] >= \"3/2/26\"", kToday,
                 QDate(2026, 3, 2)},
        ParseRow{"WrongField", "en_US", "[SentOn] >= \"3/2/26\" ", kToday, std::nullopt},
        ParseRow{"NoClosingQuote", "en_US", "[ReceivedTime] >= \"3/2/26 ", kToday, std::nullopt},
        ParseRow{"NotADate", "en_US", "[ReceivedTime] >= \"yesterday\" ", kToday, std::nullopt},
        ParseRow{"NoSuchDay", "en_US", "[ReceivedTime] >= \"2/30/26\" ", kToday, std::nullopt},
        ParseRow{"OtherLocalesForm", "de_DE", "[ReceivedTime] >= \"3/2/26\" ", kToday,
                 std::nullopt},
        ParseRow{"ThreeDigitYear", "en_US", "[ReceivedTime] >= \"3/2/260\" ", kToday, std::nullopt},
        ParseRow{"Empty", "en_US", "", kToday, std::nullopt}),
    testing::RowName());

}  // namespace
}  // namespace zandor
