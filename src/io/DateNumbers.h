// Day numbers: whole days since 30 December 1899 (so 1 January 1900 is
// day 2), the whole part of the OLE automation date that every date value
// of the language uses.
#pragma once

namespace tesmora {

// The day number of a calendar date, or -1 when the date does not exist
// (month or day out of range, or a year outside 100..9999, the range the
// date numbers cover).
int calendarDayNumber(int year, int month, int day);

}  // namespace tesmora
