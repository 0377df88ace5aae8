// Formatting of date-times with the C library's time conversions ("%d.%m.%Y",
// "%A", "%x", ...) in the Russian manner, with the names of our own table:
//   %a %A  weekday "Пн" / "понедельник"     %b %h %B  month "янв" / "Январь"
//   %x     "01.02.2024"   %X "9:05:00"      %c  "%x %X"
//   %d %m %Y %y %C %H %I %M %S %j %e %w %u %U %W %V %G %g %p %D %F %R %T
//   %z %Z %n %t %%
// A '#' after '%' drops the leading zeros of a number; "%#x" is the long date
// "1 февраля 2024 г." and "%#c" the long date with the time. A conversion we
// do not know is copied as it stands.
#pragma once

#include <string>
#include <string_view>

#include "io/Dates.h"

namespace tesmora {

// format and result are Windows-1251 texts.
std::string formatDateTime(std::string_view format, const DateTime& t);

}  // namespace tesmora
