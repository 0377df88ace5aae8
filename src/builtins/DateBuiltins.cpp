// Builtins on dates: date numbers made from their parts and from the clock,
// the parts of a date number, and date numbers written as text.
#include <cmath>
#include <ctime>
#include <string>

#include "builtins/Rows.h"
#include "interp/Prog.h"
#include "io/DateFormat.h"
#include "io/Dates.h"

namespace tesmora {
namespace {

bool isWhole(double x) { return std::isfinite(x) && x == std::floor(x); }

// Parts are whole numbers; anything beyond these bounds is no date anyway
// and must not overflow an int.
bool fitsPart(double x) { return isWhole(x) && std::fabs(x) < 1e6; }

// date(year, month, day): a month outside 1...12 moves whole years.
double dateOf(double year, double month, double day) {
  if (!fitsPart(year) || !fitsPart(month) || !fitsPart(day)) raise("неверно задана дата");
  const int monthIndex = static_cast<int>(month) - 1;
  const int yearShift = monthIndex >= 0 ? monthIndex / 12 : -((11 - monthIndex) / 12);
  const int y = static_cast<int>(year) + yearShift;
  const int m = monthIndex - 12 * yearShift + 1;
  const int d = static_cast<int>(day);
  if (!isValidDate(y, m, d)) raise("неверно задана дата");
  return dateNumber(dayNumber(y, m, d), 0);
}

// time(year, month, day, hour, minute): every part in its range.
double timeOf(double year, double month, double day, double hour, double minute) {
  const bool wholeParts = fitsPart(year) && fitsPart(month) && fitsPart(day) &&
                          fitsPart(hour) && fitsPart(minute);
  if (!wholeParts) raise("неверно задано время");
  const int y = static_cast<int>(year), m = static_cast<int>(month), d = static_cast<int>(day);
  const bool valid = isValidDate(y, m, d) && hour >= 0 && hour <= 23 && minute >= 0 &&
                     minute <= 59;
  if (!valid) raise("неверно задано время");
  return dateNumber(dayNumber(y, m, d), static_cast<int>(hour * 3600 + minute * 60));
}

// currtime(): the local date and time now.
double now() {
  const std::time_t seconds = program().host.wallClock();
  std::tm local{};
  if (!localtime_r(&seconds, &local)) raise("неверно задано время");
  return dateNumberOf(local);
}

DateTime partsOf(double t) {
  const auto parts = dateTimeOf(t);
  if (!parts) raise("неверно задана дата");
  return *parts;
}

double yearOf(double t) { return partsOf(t).year; }
double monthOf(double t) { return partsOf(t).month; }
double dayOfMonth(double t) { return partsOf(t).day; }
double hourOf(double t) { return partsOf(t).hour; }
double minuteOf(double t) { return partsOf(t).minute; }
double dayOfYear(double t) { return partsOf(t).yearDay + 1; }
double weekOfYear(double t) { return mondayWeekOfYear(partsOf(t)); }

// 1 for Monday ... 7 for Sunday.
double dayOfWeek(double t) {
  const int weekday = partsOf(t).weekday;
  return weekday == 0 ? 7 : weekday;
}

double daysOfMonth(double t) {
  const DateTime parts = partsOf(t);
  return daysInMonth(parts.year, parts.month);
}

double daysOfYear(double t) { return isLeapYear(partsOf(t).year) ? 366 : 365; }

ValuePtr shortDate(double t) {
  return std::make_unique<String>(formatDateTime("%x", partsOf(t)));
}

ValuePtr formattedDate(Str format, double t) {
  return std::make_unique<String>(formatDateTime(format, partsOf(t)));
}

constexpr BuiltinRow kRows[] = {
    row<SF_DDDDD, timeOf>("time"),
    row<SF_DDD, dateOf>("date"),
    row<SF_, now>("currtime"),
    row<SF_D, dayOfWeek>("weekday"),
    row<SF_D, dayOfMonth>("monthday"),
    row<SF_D, dayOfMonth>("mday"),
    row<SF_D, daysOfMonth>("lastmday"),
    row<SF_D, dayOfYear>("yearday"),
    row<SF_D, dayOfYear>("yday"),
    row<SF_D, daysOfYear>("lastyday"),
    row<SF_D, yearOf>("year"),
    row<SF_D, monthOf>("month"),
    row<SF_D, weekOfYear>("week"),
    row<SF_D, hourOf>("hour"),
    row<SF_D, minuteOf>("minute"),
    row<FunctionO_D, shortDate>("strdate"),
    row<FunctionO_StrD, formattedDate>("formatdate"),
};

}  // namespace

std::span<const BuiltinRow> dateBuiltins() { return kRows; }

}  // namespace tesmora
