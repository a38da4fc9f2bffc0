#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

namespace zandor {

// The date restriction of a synchronisation, kept as the text the store's
// automation understands: [ReceivedTime] >= "<date in the short date format>"
// followed by one blank, which stays at the end.

// The day offset of the range list: "Last day" -1, "Last 7 days" -7,
// "Last 30 days" -30, "Last 90 days" -90, anything else (All, none) -10000.
int DateRangeOffsetDays(int rangeIndex);

// The filter text for the range chosen in the list, counted back from today.
QString BuildDateFilter(int rangeIndex, QDate today, const QLocale& locale);

// The date a filter text names, read in the same locale's short date format.
// A two-digit year is read as the year nearest today (so "99" read in 2026 is
// 1999, "26" is 2026). nullopt when the text is not a filter of that form.
std::optional<QDate> ParseDateFilter(const QString& filter, const QLocale& locale, QDate today);

}  // namespace zandor
