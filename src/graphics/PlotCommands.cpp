#include "graphics/PlotCommands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tesmora::graphics {

bool pointsExtent(const std::vector<double>& x, const std::vector<double>& y,
                  Box& box) {
  bool first = true;
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) widen(box, first, x[i], y[i]);
  return !first;
}

// An inner vertex goes to the pixel, among the point's own and its
// neighbours to the left and above, whose centre lies nearest to the
// straight line through the segment's two points; so a polyline keeps
// close to the true line although pixels truncate.
Point CLine::vertex(int i) const {
  const Mapping& m = picture().map;
  const Point own = m.at(x_[i], y_[i]);
  if (i == 0 || i + 1 == static_cast<int>(x_.size())) return own;
  const double ax = (x_[i - 1] - m.wx0) * m.sx, ay = (m.wy1 - y_[i - 1]) * m.sy;
  const double bx = (x_[i] - m.wx0) * m.sx, by = (m.wy1 - y_[i]) * m.sy;
  const double dx = bx - ax, dy = by - ay;
  const double length = std::hypot(dx, dy);
  if (!(length > 0) || !std::isfinite(length)) return own;
  auto distance = [&](Point p) {
    return std::fabs((p.x + 0.5 - ax) * dy - (p.y + 0.5 - ay) * dx) / length;
  };
  Point best = own;
  double bestDistance = distance(own);
  for (Point candidate : {Point{own.x - 1, own.y}, Point{own.x, own.y - 1}}) {
    const double d = distance(candidate);
    if (d < bestDistance) {
      best = candidate;
      bestDistance = d;
    }
  }
  return best;
}

void CLine::draw(Canvas& canvas) {
  const int n = static_cast<int>(x_.size());
  if (n < 2) return;
  const Pen pen1{style_.color, Mapping::toPixel(style_.width)};
  const Pen pen2{style_.color2, style_.hasColor2 ? 1 : 0};
  Point from = vertex(0);
  for (int i = 1; i < n; ++i) {
    const Point to = vertex(i);
    const bool near = std::fabs(x_[i] - x_[i - 1]) <= style_.xBound &&
                      std::fabs(y_[i] - y_[i - 1]) <= style_.yBound;
    const Pen& pen = near ? pen1 : pen2;
    if (pen.visible()) canvas.line(from, to, pen);
    from = to;
  }
}

bool CLine::extent(Box& box) const { return pointsExtent(x_, y_, box); }

void CSqLine::draw(Canvas& canvas) {
  const std::size_t n = x_.size();
  if (n < 2) return;
  const Mapping& m = picture().map;
  const Pen pen{color1_, width1_};
  if (pen.visible()) {
    for (std::size_t i = 1; i < n; ++i) {
      canvas.line(m.at(x_[i - 1], y_[i - 1]), m.at(x_[i], y_[i]), pen);
    }
  }
  const int a = width2_ / 2;
  for (std::size_t i = 0; i < n; ++i) {
    const Point p = m.at(x_[i], y_[i]);
    canvas.rectangle({p.x - a, p.y - a, p.x + a + 1, p.y + a + 1}, pen, color2_);
  }
}

bool CSqLine::extent(Box& box) const { return pointsExtent(x_, y_, box); }

void CPoints::draw(Canvas& canvas) {
  if (size_ < 1) return;
  const Mapping& m = picture().map;
  const int half = size_ / 2;
  for (std::size_t i = 0; i < x_.size(); ++i) {
    const Point p = m.at(x_[i], y_[i]);
    canvas.fillRect({p.x - half, p.y - half, p.x - half + size_, p.y - half + size_},
                    color_);
  }
}

bool CPoints::extent(Box& box) const { return pointsExtent(x_, y_, box); }

void CVLines::draw(Canvas& canvas) {
  const Mapping& m = picture().map;
  for (std::size_t i = 0; i < x_.size(); ++i) {
    const int X = m.X(x_[i]);
    const int top = m.Y(y_[i]), base = m.Y(base_[i]);
    if (width_ == 1) {
      canvas.line({X, base}, {X, top}, Pen{color_, 1});
    } else if (width_ > 1) {
      const int left = X - width_ / 2;
      canvas.fillRect({left, std::min(top, base), left + width_, std::max(top, base)},
                      color_);
    }
  }
}

bool CVLines::extent(Box& box) const {
  if (!pointsExtent(x_, y_, box)) return false;
  box.ymin = std::fmin(box.ymin, 0);
  box.ymax = std::fmax(box.ymax, 0);
  return true;
}

void CStairs::draw(Canvas& canvas) {
  if (t_.size() < 2) return;
  const Mapping& m = picture().map;
  const DrawState& state = picture().draw;
  const Pen hpen{state.hpen, state.hpenWidth};
  if (hpen.visible()) {
    for (std::size_t i = 0; i < h_.size(); ++i) {
      canvas.line(m.at(t_[i], h_[i]), m.at(t_[i], 0), hpen);
      canvas.line(m.at(t_[i + 1], h_[i]), m.at(t_[i + 1], 0), hpen);
    }
  }
  const Pen pen{state.pen, state.penWidth};
  if (!pen.visible()) return;
  for (std::size_t i = 0; i < h_.size(); ++i) {
    canvas.line(m.at(t_[i], h_[i]), m.at(t_[i + 1], h_[i]), pen);
  }
}

bool CStairs::extent(Box& box) const {
  if (t_.empty()) return false;
  bool first = true;
  for (double t : t_) widen(box, first, t, 0);
  for (double h : h_) widen(box, first, t_.front(), h);
  return true;
}

}  // namespace tesmora::graphics
