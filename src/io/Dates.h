// Date numbers: a date-time is the OLE automation date, the number of days
// since 30 December 1899 00:00 whose fraction is the time of day. Before
// that day the whole part counts backwards while the fraction still counts
// forwards from midnight: -1.25 is 29 December 1899, 06:00.
//
// Dates carry no time zone; they are read as local date-times by plain
// calendar arithmetic (proleptic Gregorian calendar).
#pragma once

#include <ctime>
#include <optional>

namespace tesmora {

// The range of representable dates: 1 January 100 to 31 December 9999.
inline constexpr int kFirstDateYear = 100;
inline constexpr int kLastDateYear = 9999;

bool isLeapYear(int year);
int daysInMonth(int year, int month);  // month 1..12
bool isValidDate(int year, int month, int day);

// Whole days since 30 December 1899 of a calendar day (no validation).
long long dayNumber(int year, int month, int day);

// The day number of a calendar date, or -1 when the date does not exist
// (month or day out of range, or a year outside the date range).
int calendarDayNumber(int year, int month, int day);

// The date number of a day and a time of day in seconds (0 ... 86399),
// following the sign rule above.
double dateNumber(long long day, int secondsOfDay);

// A date number taken apart. weekday counts from 0 for Sunday, yearDay
// from 0 for 1 January, as struct tm does.
struct DateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 0;
  int yearDay = 0;
};

// Empty for a number outside the representable dates (or not a number).
// The time is rounded to the nearest second.
std::optional<DateTime> dateTimeOf(double dateNumber);

// The date number of a broken-down local time (localtime_r's result).
double dateNumberOf(const std::tm& local);

// The week of the year with Monday as its first day: days before the
// year's first Monday are in week 0.
int mondayWeekOfYear(const DateTime& t);
// The same with Sunday as the first day.
int sundayWeekOfYear(const DateTime& t);

}  // namespace tesmora
