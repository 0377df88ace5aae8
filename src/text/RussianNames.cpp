#include "text/RussianNames.h"

namespace tesmora {
namespace {

constexpr std::string_view kWeekdays[] = {"воскресенье", "понедельник", "вторник",
                                          "среда",       "четверг",     "пятница",
                                          "суббота"};
constexpr std::string_view kWeekdaysShort[] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};

constexpr std::string_view kMonths[] = {"Январь", "Февраль", "Март",     "Апрель",
                                        "Май",    "Июнь",    "Июль",     "Август",
                                        "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
constexpr std::string_view kMonthsGenitive[] = {"января",  "февраля", "марта",   "апреля",
                                                "мая",     "июня",    "июля",    "августа",
                                                "сентября", "октября", "ноября", "декабря"};
constexpr std::string_view kMonthsShort[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                             "июл", "авг", "сен", "окт", "ноя", "дек"};

// Out-of-range indexes cannot come from a valid date; they give no name
// rather than reading outside the tables.
std::string_view pick(const std::string_view* names, int count, int index) {
  return index >= 0 && index < count ? names[index] : std::string_view{};
}

}  // namespace

std::string_view weekdayName(int weekday) { return pick(kWeekdays, 7, weekday); }
std::string_view weekdayShortName(int weekday) { return pick(kWeekdaysShort, 7, weekday); }
std::string_view monthName(int month) { return pick(kMonths, 12, month - 1); }
std::string_view monthGenitiveName(int month) { return pick(kMonthsGenitive, 12, month - 1); }
std::string_view monthShortName(int month) { return pick(kMonthsShort, 12, month - 1); }

}  // namespace tesmora
