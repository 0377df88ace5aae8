// Commands without data of their own: the view rectangle, the axes, the
// pen, h-pen and brush, and the picture title.
#pragma once

#include <string>

#include "graphics/PictureState.h"

namespace tesmora::graphics {

class CSetView final : public CGCom {
 public:
  CSetView(PictureState& p, double xmin, double xmax, double ymin, double ymax)
      : CGCom(p), xmin(xmin), xmax(xmax), ymin(ymin), ymax(ymax) {}
  const double xmin, xmax, ymin, ymax;
};

// The axes with ticks every xStep and yStep (0: chosen automatically when
// the picture is prepared; −1: too dense to draw). A label text puts its
// n-th character under x = n instead of numbers.
class CAxes final : public CGCom {
 public:
  CAxes(PictureState& p, double xStep, double yStep, std::string labels)
      : CGCom(p), xStep(xStep), yStep(yStep), labels(std::move(labels)) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

  double xStep, yStep;
  const std::string labels;  // Windows-1251

 private:
  void drawXTicks(Canvas& canvas, int y0) const;
  void drawYTicks(Canvas& canvas, int x0) const;
};

class CSetPen final : public CGCom {
 public:
  CSetPen(PictureState& p, Rgb color, int width)
      : CGCom(p), color_(color), width_(width) {}
  void draw(Canvas&) override;

 private:
  Rgb color_;
  int width_;
};

class CSetHPen final : public CGCom {
 public:
  CSetHPen(PictureState& p, Rgb color, int width)
      : CGCom(p), color_(color), width_(width) {}
  void draw(Canvas&) override;

 private:
  Rgb color_;
  int width_;
};

class CSetBrush final : public CGCom {
 public:
  CSetBrush(PictureState& p, Rgb color) : CGCom(p), color_(color) {}
  void draw(Canvas&) override;

 private:
  Rgb color_;
};

// Creating it sets the picture title at once; drawing does nothing.
class CWinTitle final : public CGCom {
 public:
  CWinTitle(PictureState& p, const std::string& title) : CGCom(p) {
    p.title = title;
  }
};

// The "%g" form of a number, as tick labels and the cursor display show it.
std::string gFormat(double value);

}  // namespace tesmora::graphics
