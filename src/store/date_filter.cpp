#include "store/date_filter.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace zandor {
namespace {

const QString kFilterHead = QStringLiteral("[ReceivedTime] >= \"");
const QString kFilterTail = QStringLiteral("\" ");

// The letter runs of a date format that stand for numbers, in order ("d",
// "MM", "yy"); month and day names are left out, since they are not digits
// in the text.
std::vector<QString> NumericFields(const QString& format) {
  std::vector<QString> fields;
  static const QRegularExpression letters(QStringLiteral("([dMy])\\1*"));
  auto it = letters.globalMatch(format);
  while (it.hasNext()) {
    const QString run = it.next().captured(0);
    const bool isName =
        (run.startsWith(QLatin1Char('d')) || run.startsWith(QLatin1Char('M'))) && run.size() >= 3;
    if (!isName) fields.push_back(run);
  }
  return fields;
}

// Years that end in the two digits yy, nearest to today first.
std::vector<int> CandidateYears(int yy, int todayYear) {
  std::vector<int> years;
  const int century = todayYear - todayYear % 100;
  for (int base : {century - 100, century, century + 100}) years.push_back(base + yy);
  std::stable_sort(years.begin(), years.end(), [todayYear](int a, int b) {
    const int da = std::abs(a - todayYear);
    const int db = std::abs(b - todayYear);
    return da != db ? da < db : a < b;  // on a tie, the past
  });
  return years;
}

// The format without its quoted literals ('de', '年').
QString WithoutLiterals(const QString& format) {
  static const QRegularExpression quoted(QStringLiteral("'[^']*'"));
  QString plain = format;
  plain.remove(quoted);
  return plain;
}

// A format made of numbers only (no month or day names).
bool IsNumericFormat(const QString& format) {
  static const QRegularExpression names(QStringLiteral("ddd|MMM"));
  return !WithoutLiterals(format).contains(names);
}

// A run of digits in the text, of any script (some locales write dates in
// their own digits, a few of them outside the 16-bit range).
struct DigitRun {
  int value = 0;
  int digits = 0;
};

std::vector<DigitRun> DigitRuns(const QString& text) {
  std::vector<DigitRun> runs;
  bool inRun = false;
  for (char32_t c : text.toUcs4()) {
    const int digit = QChar::digitValue(c);
    if (digit < 0) {
      inRun = false;
      continue;
    }
    if (!inRun) runs.emplace_back();
    inRun = true;
    if (runs.back().digits < 6) runs.back().value = runs.back().value * 10 + digit;
    ++runs.back().digits;
  }
  return runs;
}

// A numeric date: its digit runs taken in the order of the format's fields,
// and accepted only when the locale writes that date exactly so.
std::optional<QDate> ParseNumericDate(const QString& text, const QString& format,
                                      const QLocale& locale, QDate today) {
  const std::vector<QString> fields = NumericFields(WithoutLiterals(format));
  const std::vector<DigitRun> runs = DigitRuns(text);
  if (runs.size() != fields.size()) return std::nullopt;
  int day = -1;
  int month = -1;
  int year = -1;
  bool twoDigitYear = false;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (runs[i].digits > 4) return std::nullopt;
    switch (fields[i].front().unicode()) {
      case u'd':
        day = runs[i].value;
        break;
      case u'M':
        month = runs[i].value;
        break;
      case u'y':
        year = runs[i].value;
        twoDigitYear = fields[i].size() == 2;
        break;
      default:
        return std::nullopt;
    }
  }
  if (day < 0 || month < 0 || year < 0) return std::nullopt;
  const std::vector<int> years =
      twoDigitYear ? CandidateYears(year, today.year()) : std::vector<int>{year};
  for (int candidate : years) {
    const QDate date(candidate, month, day);
    if (date.isValid() && locale.toString(date, format) == text) return date;
  }
  return std::nullopt;
}

// A date with month or day names, read by the locale; a two-digit year is
// put into the text with each candidate century and read with four digits,
// so that 29 February of a leap year still reads.
std::optional<QDate> ParseNamedDate(const QString& text, const QString& format,
                                    const QLocale& locale, QDate today) {
  const std::vector<QString> fields = NumericFields(WithoutLiterals(format));
  qsizetype yearField = -1;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] == QStringLiteral("yy")) yearField = static_cast<qsizetype>(i);
  }
  if (yearField < 0) {
    const QDate date = locale.toDate(text, format);
    if (!date.isValid()) return std::nullopt;
    return date;
  }
  static const QRegularExpression digits(QStringLiteral("\\d+"));
  std::vector<QRegularExpressionMatch> runs;
  auto it = digits.globalMatch(text);
  while (it.hasNext()) runs.push_back(it.next());
  if (runs.size() != fields.size()) return std::nullopt;
  const QRegularExpressionMatch& yearRun = runs[static_cast<size_t>(yearField)];
  bool ok = false;
  const int yy = yearRun.captured(0).toInt(&ok);
  if (!ok || yearRun.capturedLength() != 2) return std::nullopt;

  QString wideFormat = format;
  wideFormat.replace(QRegularExpression(QStringLiteral("(?<!y)yy(?!y)")), QStringLiteral("yyyy"));
  for (int year : CandidateYears(yy, today.year())) {
    QString wideText = text;
    wideText.replace(yearRun.capturedStart(0), 2, QString::number(year));
    const QDate date = locale.toDate(wideText, wideFormat);
    if (date.isValid()) return date;
  }
  return std::nullopt;
}

}  // namespace

int DateRangeOffsetDays(int rangeIndex) {
  switch (rangeIndex) {
    case 0:
      return -1;
    case 1:
      return -7;
    case 2:
      return -30;
    case 3:
      return -90;
    default:
      return -10000;
  }
}

QString BuildDateFilter(int rangeIndex, QDate today, const QLocale& locale) {
  const QDate from = today.addDays(DateRangeOffsetDays(rangeIndex));
  return kFilterHead + locale.toString(from, QLocale::ShortFormat) + kFilterTail;
}

std::optional<QDate> ParseDateFilter(const QString& filter, const QLocale& locale, QDate today) {
  if (!filter.startsWith(kFilterHead)) return std::nullopt;
  const qsizetype close = filter.indexOf(QLatin1Char('"'), kFilterHead.size());
  if (close < 0) return std::nullopt;
  const QString text = filter.mid(kFilterHead.size(), close - kFilterHead.size());
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  if (IsNumericFormat(format)) return ParseNumericDate(text, format, locale, today);
  return ParseNamedDate(text, format, locale, today);
}

}  // namespace zandor
