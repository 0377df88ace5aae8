#include "io/DateNumbers.h"

namespace tesmora {
namespace {

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1 March of year 0 in the proleptic Gregorian calendar; starting
// the year in March puts the leap day at its end.
long daysFromCivil(int year, int month, int day) {
  if (month <= 2) --year;
  const long era = year / 400;  // years here are never negative
  const long yearOfEra = year - era * 400;
  const long dayOfYear = (153L * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

}  // namespace

int calendarDayNumber(int year, int month, int day) {
  if (year < 100 || year > 9999 || month < 1 || month > 12) return -1;
  if (day < 1 || day > daysInMonth(year, month)) return -1;
  return static_cast<int>(daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30));
}

}  // namespace tesmora
