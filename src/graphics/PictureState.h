// The picture: the process-wide command list with its title, the range and
// mapping chosen for drawing it, the drawing state of a drawing pass, and
// what the cursor display uses (font size, date converter).
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "graphics/CGCom.h"
#include "graphics/Canvas.h"
#include "values/MatObject.h"

namespace tesmora::graphics {

class CSetView;
class CAxes;

// Pen, brush and h-pen of one drawing pass; reset at the start of each.
struct DrawState {
  Rgb brush{192, 192, 192};
  Rgb pen = kBlack;
  int penWidth = 1;
  Rgb hpen = kBlack;
  int hpenWidth = 1;
};

// World-to-pixel mapping: X = trunc((x − wx0)·sx), Y = trunc((wy1 − y)·sy).
struct Mapping {
  double wx0 = 0, wx1 = 0, wy0 = 0, wy1 = 0;
  double sx = 1, sy = 1;

  int X(double x) const { return toPixel((x - wx0) * sx); }
  int Y(double y) const { return toPixel((wy1 - y) * sy); }
  Point at(double x, double y) const { return {X(x), Y(y)}; }

  // Truncation toward zero, held inside a range every canvas can take
  // (far-away points and NaN must not overflow an int).
  static int toPixel(double v) {
    constexpr double kLimit = 1e8;
    if (!(v > -kLimit)) return -static_cast<int>(kLimit);
    if (v > kLimit) return static_cast<int>(kLimit);
    return static_cast<int>(std::trunc(v));
  }
};

class PictureState {
 public:
  PictureState();
  ~PictureState();
  PictureState(const PictureState&) = delete;
  PictureState& operator=(const PictureState&) = delete;

  // Appends a command at the tail of the list; the list owns it.
  CGCom& append(std::unique_ptr<CGCom> command);
  // Empties the list, restores the title "Рисунок" and forgets the range,
  // the view and the axes.
  void erase();
  bool empty() const { return commands_.empty(); }
  int commandCount() const { return static_cast<int>(commands_.size()); }
  const std::vector<std::unique_ptr<CGCom>>& commands() const { return commands_; }

  std::string title;  // Windows-1251

  // The range chosen when the picture is prepared.
  bool rangeKnown = false;
  double xmin = 0, xmax = 10, ymin = 0, ymax = 10;

  // What the last drawing pass used: the range after label room and
  // rounding (xmax, ymax rounded up; xminLow, yminLow lowered and rounded
  // down), and the mapping of the client area.
  double drawnXmin = 0, drawnXmax = 10, drawnYmin = 0, drawnYmax = 10;
  double xminLow = 0, yminLow = 0;
  bool drawable = false;
  Mapping map;
  int clientWidth = 0, clientHeight = 0;

  CSetView* view = nullptr;
  CAxes* axes = nullptr;
  DrawState draw;

  double fontSize = 12;  // setfont; the screen drawing does not use it

  // The cursor display's date converter (setftime, setfdate, setfmonth):
  // kind 0 date and time, 1 date, 2 month and year.
  int dateKind = 0;
  ValuePtr dateConverter;

 private:
  std::vector<std::unique_ptr<CGCom>> commands_;
};

// The process's picture.
PictureState& picture();

}  // namespace tesmora::graphics
