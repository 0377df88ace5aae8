// What the picture window shows under the mouse: the cursor's world
// coordinates, rounded to what two pixels can tell apart, and optionally a
// date computed from the x coordinate by the program's date converter.
#pragma once

#include <string>

#include "graphics/PictureState.h"

namespace tesmora::graphics {

inline constexpr int kStripHeight = 16;

struct CursorReadout {
  double x = 0, y = 0;
  std::string bottom;  // "%g     %g" of x and y
  std::string top;     // the date, "Ошибка", or empty without a converter
};

// For the pixel (px, py) of the last drawing pass.
CursorReadout cursorReadout(PictureState& picture, int px, int py);

// Whether the readout is shown for a move from (oldX, oldY) to (px, py):
// a steady cursor at least a strip height inside the client area.
bool cursorShown(const PictureState& picture, int oldX, int oldY, int px, int py);

// An OLE automation day count (days since 30 December 1899, the fraction
// the time of day) as the cursor display writes it: kind 0 "Пн 05.01.2026
// 14:30", kind 1 "Пн 05.01.2026", kind 2 "Январь 2026". Windows-1251.
std::string formatDayCount(double days, int kind);

}  // namespace tesmora::graphics
