// Russian names of weekdays and months for date formatting, from our own
// table (never from the system's locales, which a machine may lack). The
// names are UTF-8 literals; callers convert them with cp().
#pragma once

#include <string_view>

namespace tesmora {

// weekday: 0 Sunday ... 6 Saturday, as struct tm counts.
std::string_view weekdayName(int weekday);       // "понедельник"
std::string_view weekdayShortName(int weekday);  // "Пн"

// month: 1 ... 12.
std::string_view monthName(int month);          // "Январь" (standing alone)
std::string_view monthGenitiveName(int month);  // "января" (after a day number)
std::string_view monthShortName(int month);     // "янв"

}  // namespace tesmora
