#include "graphics/Cursor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "graphics/StateCommands.h"
#include "text/Cp1251.h"
#include "values/Function.h"

namespace tesmora::graphics {
namespace {

// Rounds v to the nearest multiple of a round step near the world size of
// two pixels.
double roundToTwoPixels(double v, double worldSpan, int pixels) {
  const double e = worldSpan * 2 / (pixels + 1);
  if (!(e > 0) || !std::isfinite(e)) return v;
  const double o = std::pow(10.0, std::ceil(std::log10(e)));
  const double ratio = o / e;
  const double step = o / (ratio < 2 ? 1 : ratio < 5 ? 2 : 5);
  return std::round(v / step) * step;
}

constexpr const char* kWeekdays[] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
constexpr const char* kMonths[] = {"Январь", "Февраль", "Март",     "Апрель",
                                   "Май",    "Июнь",    "Июль",     "Август",
                                   "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

struct CivilDate {
  long long year;
  int month, day;
};

// The proleptic Gregorian date of a count of days since 1 January 1970.
CivilDate civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

// Days from 30 December 1899 to 1 January 1970.
constexpr long long kOleEpochToUnix = 25569;
// The day counts OLE dates can hold (years 100 to 9999).
constexpr double kFirstDay = -657434, kLastDay = 2958465.99999;

std::string dateConverterText(PictureState& p, double x) {
  auto* converter = dynamic_cast<CSFunc*>(p.dateConverter.get());
  if (!converter) return {};
  try {
    double v = converter->eval1(x);
    if (v < 0) v = 2 * std::floor(v) - v;
    return formatDayCount(v, p.dateKind);
  } catch (...) {
    // The converter is the program's own function; whatever it raises only
    // spoils this one readout.
    return cp("Ошибка");
  }
}

}  // namespace

std::string formatDayCount(double days, int kind) {
  if (!(days >= kFirstDay && days <= kLastDay)) return cp("Ошибка");
  // Whole seconds, rounded, with the time of day as a positive fraction.
  const long long seconds = std::llround(days * 86400.0);
  long long day = seconds / 86400;
  long long second = seconds % 86400;
  if (second < 0) {
    second += 86400;
    --day;
  }
  const CivilDate date = civilFromDays(day - kOleEpochToUnix);
  char text[96];
  if (kind == 2) {
    std::snprintf(text, sizeof text, "%s %lld", kMonths[date.month - 1], date.year);
  } else {
    const int weekday = static_cast<int>(((day + 6) % 7 + 7) % 7);
    std::snprintf(text, sizeof text, "%s %02d.%02d.%04lld", kWeekdays[weekday],
                  date.day, date.month, date.year);
    if (kind == 0) {
      char time[16];
      std::snprintf(time, sizeof time, " %02lld:%02lld", second / 3600,
                    second / 60 % 60);
      std::string withTime = std::string(text) + time;
      return cp(withTime);
    }
  }
  return cp(text);
}

CursorReadout cursorReadout(PictureState& p, int px, int py) {
  CursorReadout readout;
  const Mapping& m = p.map;
  readout.x = roundToTwoPixels((px + 0.5) / m.sx + m.wx0, m.wx1 - m.wx0, p.clientWidth);
  readout.y = roundToTwoPixels(m.wy1 - (py - 0.5) / m.sy, m.wy1 - m.wy0, p.clientHeight);
  readout.bottom = gFormat(readout.x) + "     " + gFormat(readout.y);
  readout.top = dateConverterText(p, readout.x);
  return readout;
}

bool cursorShown(const PictureState& p, int oldX, int oldY, int px, int py) {
  const bool steady = std::abs(px - oldX) < 5 && std::abs(py - oldY) < 5;
  const bool inside = px >= kStripHeight && py >= kStripHeight &&
                      px < p.clientWidth - kStripHeight &&
                      py < p.clientHeight - kStripHeight;
  return p.drawable && steady && inside;
}

}  // namespace tesmora::graphics
