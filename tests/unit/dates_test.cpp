// Date numbers against day counts computed independently (Python's datetime
// at authoring time): days since 30 December 1899, weekdays, days of the
// year and week numbers, and the time of day on both sides of day 0.
#include <gtest/gtest.h>

#include "io/DateFormat.h"
#include "io/Dates.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

struct KnownDay {
  int year, month, day;
  long long number;
  int mondayWeek, sundayWeek;  // "%W", "%U"
  int isoYear, isoWeek;
  int isoWeekday;  // 1 Monday ... 7 Sunday
  int yearDay;     // 1-based
};

const KnownDay kDays[] = {
    {100, 1, 1, -657434, 0, 0, 99, 53, 5, 1},
    {1600, 2, 29, -109512, 9, 9, 1600, 9, 2, 60},
    {1899, 12, 29, -1, 52, 52, 1899, 52, 5, 363},
    {1899, 12, 30, 0, 52, 52, 1899, 52, 6, 364},
    {1900, 1, 1, 2, 1, 0, 1900, 1, 1, 1},
    {1900, 3, 1, 61, 9, 8, 1900, 9, 4, 60},
    {1970, 1, 1, 25569, 0, 0, 1970, 1, 4, 1},
    {2000, 2, 29, 36585, 9, 9, 2000, 9, 2, 60},
    {2021, 1, 1, 44197, 0, 0, 2020, 53, 5, 1},
    {2024, 1, 1, 45292, 1, 0, 2024, 1, 1, 1},
    {2024, 2, 29, 45351, 9, 8, 2024, 9, 4, 60},
    {2024, 12, 31, 45657, 53, 52, 2025, 1, 2, 366},
    {2027, 1, 1, 46388, 0, 0, 2026, 53, 5, 1},
    {2021, 1, 3, 44199, 0, 1, 2020, 53, 7, 3},
    {9999, 12, 31, 2958465, 52, 52, 9999, 52, 5, 365},
};

std::string formatted(const char* format, const DateTime& t) {
  return formatDateTime(format, t);
}

TEST(Dates, KnownDaysBothWays) {
  for (const KnownDay& k : kDays) {
    SCOPED_TRACE(k.number);
    EXPECT_EQ(dayNumber(k.year, k.month, k.day), k.number);
    const auto t = dateTimeOf(static_cast<double>(k.number));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, k.year);
    EXPECT_EQ(t->month, k.month);
    EXPECT_EQ(t->day, k.day);
    EXPECT_EQ(t->weekday == 0 ? 7 : t->weekday, k.isoWeekday);
    EXPECT_EQ(t->yearDay + 1, k.yearDay);
    EXPECT_EQ(mondayWeekOfYear(*t), k.mondayWeek);
    EXPECT_EQ(sundayWeekOfYear(*t), k.sundayWeek);
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d", k.isoYear, k.isoWeek);
    EXPECT_EQ(formatted("%G-%V", *t), iso);
  }
}

TEST(Dates, EveryDayRoundTripsAndFollowsItsPredecessor) {
  auto previous = dateTimeOf(-657434);
  ASSERT_TRUE(previous);
  for (long long day = -657433; day <= 2958465; ++day) {
    const auto t = dateTimeOf(static_cast<double>(day));
    ASSERT_TRUE(t) << day;
    ASSERT_EQ(dayNumber(t->year, t->month, t->day), day);
    ASSERT_EQ(t->weekday, (previous->weekday + 1) % 7);
    const bool nextDay = t->day == previous->day + 1;
    const bool nextMonth =
        t->day == 1 && previous->day == daysInMonth(previous->year, previous->month);
    ASSERT_TRUE(nextDay || nextMonth) << day;
    previous = t;
  }
}

TEST(Dates, OutsideTheRangeIsNoDate) {
  EXPECT_FALSE(dateTimeOf(-657435));
  EXPECT_FALSE(dateTimeOf(2958466));
  EXPECT_FALSE(dateTimeOf(0.0 / 0.0));
  EXPECT_FALSE(dateTimeOf(1e300));
  EXPECT_TRUE(dateTimeOf(2958465.999));
  EXPECT_TRUE(dateTimeOf(-657434.5));
}

TEST(Dates, TimeOfDayRoundsToTheSecondAndCountsForwardBeforeDayZero) {
  // 10:31 is not exact in binary; it must not come out as 10:30:59.
  const double t = dateNumber(45292, 10 * 3600 + 31 * 60);
  const auto parts = dateTimeOf(t);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->hour, 10);
  EXPECT_EQ(parts->minute, 31);
  EXPECT_EQ(parts->second, 0);

  EXPECT_DOUBLE_EQ(dateNumber(-1, 6 * 3600), -1.25);
  const auto before = dateTimeOf(-1.25);
  ASSERT_TRUE(before);
  EXPECT_EQ(before->day, 29);
  EXPECT_EQ(before->hour, 6);

  // The last second of a day stays in that day.
  const auto late = dateTimeOf(45292 + 86399.9 / 86400);
  ASSERT_TRUE(late);
  EXPECT_EQ(late->day, 2);
  EXPECT_EQ(late->hour, 0);
}

TEST(Dates, FormatsInRussian) {
  const auto t = dateTimeOf(dateNumber(dayNumber(2024, 2, 5), 9 * 3600 + 5 * 60 + 7));
  ASSERT_TRUE(t);
  EXPECT_EQ(cp1251ToUtf8(formatted("%x|%X|%c", *t)), "05.02.2024|9:05:07|05.02.2024 9:05:07");
  EXPECT_EQ(cp1251ToUtf8(formatted("%a %A %b %B", *t)), "Пн понедельник фев Февраль");
  EXPECT_EQ(cp1251ToUtf8(formatted("%#x", *t)), "5 февраля 2024 г.");
  EXPECT_EQ(formatted("%#d.%#m|%e|%j|%I%p|%y|%F|%T|%%|%q|%", *t),
            "5.2| 5|036|09AM|24|2024-02-05|09:05:07|%|%q|%");
}

}  // namespace
}  // namespace tesmora
