#include "io/DateFormat.h"

#include <cstdio>
#include <ctime>

#include "text/Cp1251.h"
#include "text/RussianNames.h"

namespace tesmora {
namespace {

void appendNumber(std::string& out, long long value, int width, bool dropZeros) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", dropZeros ? 1 : width, value);
  out += buffer;
}

int hour12(const DateTime& t) { return t.hour % 12 == 0 ? 12 : t.hour % 12; }

// ISO 8601 week: weeks start on Monday, week 1 holds the year's first
// Thursday. Returns the week and sets the year the week belongs to.
int isoWeek(const DateTime& t, int& isoYear) {
  const int mondayBased = (t.weekday + 6) % 7;  // 0 Monday ... 6 Sunday
  const int week = (t.yearDay - mondayBased + 10) / 7;
  isoYear = t.year;
  if (week < 1) {
    // Belongs to the last week of the previous year.
    --isoYear;
    const int previousDays = isLeapYear(isoYear) ? 366 : 365;
    return (t.yearDay + previousDays - mondayBased + 10) / 7;
  }
  const int days = isLeapYear(t.year) ? 366 : 365;
  if (week == 53 && t.yearDay - mondayBased + 3 >= days) {
    ++isoYear;
    return 1;
  }
  return week;
}

// The local time zone at that date: its name and UTC offset.
std::tm zoneAt(const DateTime& t) {
  std::tm local{};
  local.tm_year = t.year - 1900;
  local.tm_mon = t.month - 1;
  local.tm_mday = t.day;
  local.tm_hour = t.hour;
  local.tm_min = t.minute;
  local.tm_sec = t.second;
  local.tm_isdst = -1;
  std::time_t seconds = std::mktime(&local);
  std::tm zone{};
  if (seconds == static_cast<std::time_t>(-1) || !localtime_r(&seconds, &zone)) {
    return std::tm{};
  }
  return zone;
}

void appendShortDate(std::string& out, const DateTime& t, bool dropZeros) {
  appendNumber(out, t.day, 2, dropZeros);
  out += '.';
  appendNumber(out, t.month, 2, dropZeros);
  out += '.';
  appendNumber(out, t.year, 4, false);
}

void appendLongDate(std::string& out, const DateTime& t) {
  appendNumber(out, t.day, 1, true);
  out += ' ';
  out += cp(monthGenitiveName(t.month));
  out += ' ';
  appendNumber(out, t.year, 4, false);
  out += cp(" г.");
}

void appendTime(std::string& out, const DateTime& t) {
  appendNumber(out, t.hour, 1, true);
  out += ':';
  appendNumber(out, t.minute, 2, false);
  out += ':';
  appendNumber(out, t.second, 2, false);
}

// Appends one conversion; false when the letter is not a conversion.
bool appendConversion(std::string& out, char letter, bool alternate, const DateTime& t) {
  const bool z = alternate;
  int isoYear = 0;
  switch (letter) {
    case 'a': out += cp(weekdayShortName(t.weekday)); return true;
    case 'A': out += cp(weekdayName(t.weekday)); return true;
    case 'b':
    case 'h': out += cp(monthShortName(t.month)); return true;
    case 'B': out += cp(monthName(t.month)); return true;
    case 'c':
      if (alternate) appendLongDate(out, t);
      else appendShortDate(out, t, false);
      out += ' ';
      appendTime(out, t);
      return true;
    case 'x':
      if (alternate) appendLongDate(out, t);
      else appendShortDate(out, t, false);
      return true;
    case 'X': appendTime(out, t); return true;
    case 'C': appendNumber(out, t.year / 100, 2, z); return true;
    case 'd': appendNumber(out, t.day, 2, z); return true;
    case 'e':
      if (!z && t.day < 10) out += ' ';
      appendNumber(out, t.day, 1, true);
      return true;
    case 'D':
      appendNumber(out, t.month, 2, false);
      out += '/';
      appendNumber(out, t.day, 2, false);
      out += '/';
      appendNumber(out, t.year % 100, 2, false);
      return true;
    case 'F':
      appendNumber(out, t.year, 4, false);
      out += '-';
      appendNumber(out, t.month, 2, false);
      out += '-';
      appendNumber(out, t.day, 2, false);
      return true;
    case 'H': appendNumber(out, t.hour, 2, z); return true;
    case 'I': appendNumber(out, hour12(t), 2, z); return true;
    case 'j': appendNumber(out, t.yearDay + 1, 3, z); return true;
    case 'm': appendNumber(out, t.month, 2, z); return true;
    case 'M': appendNumber(out, t.minute, 2, z); return true;
    case 'S': appendNumber(out, t.second, 2, z); return true;
    case 'p': out += t.hour < 12 ? "AM" : "PM"; return true;
    case 'R':
      appendNumber(out, t.hour, 2, false);
      out += ':';
      appendNumber(out, t.minute, 2, false);
      return true;
    case 'T':
      appendNumber(out, t.hour, 2, false);
      out += ':';
      appendNumber(out, t.minute, 2, false);
      out += ':';
      appendNumber(out, t.second, 2, false);
      return true;
    case 'u': appendNumber(out, t.weekday == 0 ? 7 : t.weekday, 1, true); return true;
    case 'w': appendNumber(out, t.weekday, 1, true); return true;
    case 'U': appendNumber(out, sundayWeekOfYear(t), 2, z); return true;
    case 'W': appendNumber(out, mondayWeekOfYear(t), 2, z); return true;
    case 'V': appendNumber(out, isoWeek(t, isoYear), 2, z); return true;
    case 'G': isoWeek(t, isoYear); appendNumber(out, isoYear, 4, false); return true;
    case 'g': isoWeek(t, isoYear); appendNumber(out, isoYear % 100, 2, z); return true;
    case 'y': appendNumber(out, t.year % 100, 2, z); return true;
    case 'Y': appendNumber(out, t.year, 4, false); return true;
    case 'z': {
      const std::tm zone = zoneAt(t);
      const long offset = zone.tm_gmtoff / 60;
      out += offset < 0 ? '-' : '+';
      appendNumber(out, (offset < 0 ? -offset : offset) / 60 * 100 +
                            (offset < 0 ? -offset : offset) % 60, 4, false);
      return true;
    }
    case 'Z': {
      const std::tm zone = zoneAt(t);
      if (zone.tm_zone) out += zone.tm_zone;
      return true;
    }
    case 'n': out += '\n'; return true;
    case 't': out += '\t'; return true;
    case '%': out += '%'; return true;
    default: return false;
  }
}

}  // namespace

std::string formatDateTime(std::string_view format, const DateTime& t) {
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    std::size_t letter = i + 1;
    const bool alternate = format[letter] == '#' && letter + 1 < format.size();
    if (alternate) ++letter;
    if (appendConversion(out, format[letter], alternate, t)) {
      i = letter;
    } else {
      out.append(format, i, letter + 1 - i);  // not ours: copied as it stands
      i = letter;
    }
  }
  return out;
}

}  // namespace tesmora
