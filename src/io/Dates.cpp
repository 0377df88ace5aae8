#include "io/Dates.h"

#include <algorithm>
#include <cmath>

namespace tesmora {
namespace {

// Days from 30 December 1899 to 1 January 1970.
constexpr long long kUnixEpochDay = 25569;
constexpr int kSecondsPerDay = 86400;
constexpr double kHalfSecond = 0.5 / kSecondsPerDay;

// Days since 1 January 1970 of a proleptic Gregorian date (eras of 400
// years, so the arithmetic is exact for any year).
long long daysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  long long year;
  int month;
  int day;
};

Civil civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (m <= 2), m, d};
}

// Day numbers of 1 January 100 and of 1 January 10000.
constexpr double kFirstDate = -657434;
constexpr double kEndDate = 2958466;

}  // namespace

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && isLeapYear(year)) return 29;
  return kDays[month - 1];
}

bool isValidDate(int year, int month, int day) {
  return year >= kFirstDateYear && year <= kLastDateYear && month >= 1 && month <= 12 &&
         day >= 1 && day <= daysInMonth(year, month);
}

long long dayNumber(int year, int month, int day) {
  return daysFromCivil(year, month, day) + kUnixEpochDay;
}

double dateNumber(long long day, int secondsOfDay) {
  const double fraction = static_cast<double>(secondsOfDay) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

std::optional<DateTime> dateTimeOf(double number) {
  if (!(number > kFirstDate - 1 && number < kEndDate)) return std::nullopt;
  // Round to the nearest second away from the day's start, in the
  // direction of the sign, then split into the day and the time.
  const double rounded = number + (number > 0 ? kHalfSecond : -kHalfSecond);
  const double whole = std::trunc(rounded);
  const double magnitude = std::fabs(rounded);
  int seconds = static_cast<int>((magnitude - std::floor(magnitude)) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) seconds = kSecondsPerDay - 1;
  const long long day = static_cast<long long>(whole);
  if (day < kFirstDate || day >= kEndDate) return std::nullopt;

  const Civil civil = civilFromDays(day - kUnixEpochDay);
  DateTime t;
  t.year = static_cast<int>(civil.year);
  t.month = civil.month;
  t.day = civil.day;
  t.hour = seconds / 3600;
  t.minute = seconds / 60 % 60;
  t.second = seconds % 60;
  // 30 December 1899 (day 0) was a Saturday.
  t.weekday = static_cast<int>(((day + 6) % 7 + 7) % 7);
  t.yearDay = static_cast<int>(day - dayNumber(t.year, 1, 1));
  return t;
}

double dateNumberOf(const std::tm& local) {
  const long long day = dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59);
  return dateNumber(day, seconds);
}

int mondayWeekOfYear(const DateTime& t) {
  return (t.yearDay + 7 - (t.weekday + 6) % 7) / 7;
}

int sundayWeekOfYear(const DateTime& t) { return (t.yearDay + 7 - t.weekday) / 7; }

int calendarDayNumber(int year, int month, int day) {
  if (year < kFirstDateYear || year > kLastDateYear || !isValidDate(year, month, day)) {
    return -1;
  }
  return static_cast<int>(dayNumber(year, month, day));
}

}  // namespace tesmora
