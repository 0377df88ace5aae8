// The commands that draw data: polylines, marked polylines, points,
// vertical lines and stairs.
#pragma once

#include <vector>

#include "graphics/PictureState.h"

namespace tesmora::graphics {

// Bounds no jump reaches: every segment is drawn with the line pen.
inline constexpr double kNoJumpBound = 1.7e308;

class CLine final : public CGCom {
 public:
  struct Style {
    Rgb color;
    Rgb color2;
    double width = 1;
    bool hasColor2 = false;
    double xBound = kNoJumpBound, yBound = kNoJumpBound;
  };
  CLine(PictureState& p, Style style, std::vector<double> x, std::vector<double> y)
      : CGCom(p), style_(style), x_(std::move(x)), y_(std::move(y)) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  Point vertex(int i) const;
  Style style_;
  std::vector<double> x_, y_;
};

class CSqLine final : public CGCom {
 public:
  CSqLine(PictureState& p, Rgb color1, int width1, Rgb color2, int width2,
          std::vector<double> x, std::vector<double> y)
      : CGCom(p), color1_(color1), width1_(width1), color2_(color2),
        width2_(width2), x_(std::move(x)), y_(std::move(y)) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  Rgb color1_;
  int width1_;
  Rgb color2_;
  int width2_;
  std::vector<double> x_, y_;
};

class CPoints final : public CGCom {
 public:
  CPoints(PictureState& p, int size, Rgb color, std::vector<double> x,
          std::vector<double> y)
      : CGCom(p), size_(size), color_(color), x_(std::move(x)), y_(std::move(y)) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  int size_;
  Rgb color_;
  std::vector<double> x_, y_;
};

// Vertical lines from the baseline 0 up (or down) to each y.
class CVLines final : public CGCom {
 public:
  CVLines(PictureState& p, std::vector<double> x, std::vector<double> y,
          int width, Rgb color)
      : CGCom(p), x_(std::move(x)), base_(x_.size(), 0.0), y_(std::move(y)),
        width_(width), color_(color) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  std::vector<double> x_, base_, y_;
  int width_;
  Rgb color_;
};

// A step function: height h[i] over [t[i], t[i+1]], drawn with the pen; its
// verticals down to 0 with the h-pen.
class CStairs final : public CGCom {
 public:
  CStairs(PictureState& p, std::vector<double> t, std::vector<double> h)
      : CGCom(p), t_(std::move(t)), h_(std::move(h)) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  std::vector<double> t_, h_;
};

// The extent of paired coordinates; none when there are no points.
bool pointsExtent(const std::vector<double>& x, const std::vector<double>& y,
                  Box& box);

}  // namespace tesmora::graphics
