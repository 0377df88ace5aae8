// Drawing the axes: the two axis lines through the origin with their arrow
// heads, tick marks every step, and "%g" labels (or the characters of a
// label text under the x ticks).
#include <cmath>
#include <string>

#include "graphics/StateCommands.h"

namespace tesmora::graphics {
namespace {

// A tick loop counts steps instead of adding them up, so that many small
// steps do not drift away from the multiples they stand for.
template <class Visit>
void eachMultiple(double start, double step, double limit, bool upward, Visit visit) {
  constexpr long kMaxTicks = 100000;  // a pixel each at most; the rest is off-screen
  for (long k = 0; k < kMaxTicks; ++k) {
    const double v = start + (upward ? k : -k) * step;
    if (upward ? !(v < limit) : !(v > limit)) return;
    visit(v);
  }
}

}  // namespace

void CAxes::draw(Canvas& canvas) {
  const PictureState& p = picture();
  const Mapping& m = p.map;
  const Pen black{kBlack, 1};
  const int x0 = m.X(0), y0 = m.Y(0);

  canvas.line({m.X(p.drawnXmin), y0}, {m.X(p.drawnXmax) + 3, y0}, black);
  canvas.arrow(Arrow::XAxis, {m.X(p.drawnXmax) - 3, y0 - 3});
  if (xStep > 0) drawXTicks(canvas, y0);
  if (yStep > 0) drawYTicks(canvas, x0);
  canvas.line({x0, m.Y(p.drawnYmin)}, {x0, m.Y(p.drawnYmax) - 3}, black);
  canvas.arrow(Arrow::YAxis, {x0 - 3, m.Y(p.drawnYmax) - 3});
}

void CAxes::drawXTicks(Canvas& canvas, int y0) const {
  const PictureState& p = picture();
  const Mapping& m = p.map;
  const double s = xStep;
  auto tick = [&](double v, bool labelled) {
    const int X = m.X(v);
    canvas.pixel({X, y0 + 1}, kBlack);
    canvas.pixel({X, y0 + 2}, kBlack);
    if (!labelled) return;
    std::string label;
    if (labels.empty()) {
      label = gFormat(v);
    } else if (v >= 1 && v <= static_cast<double>(labels.size())) {
      label = labels.substr(static_cast<std::size_t>(v) - 1, 1);
    }
    if (!label.empty()) canvas.text({X, y0 + 3}, label, HAlign::Center, VAlign::Top);
  };
  eachMultiple(p.drawnYmin < 0 ? s : 0, s, p.drawnXmax - s / 3, true,
               [&](double v) { tick(v, true); });
  eachMultiple(-s, s, p.drawnXmin + s / 3, false,
               [&](double v) { tick(v, labels.empty()); });
}

void CAxes::drawYTicks(Canvas& canvas, int x0) const {
  const PictureState& p = picture();
  const Mapping& m = p.map;
  const double s = yStep;
  auto tick = [&](double v) {
    const int Y = m.Y(v);
    canvas.pixel({x0 - 1, Y}, kBlack);
    canvas.pixel({x0 - 2, Y}, kBlack);
    return Y;
  };
  eachMultiple(s, s, p.drawnYmax - s / 3, true, [&](double v) {
    const int Y = tick(v);
    canvas.text({x0 - 3, Y + 5}, gFormat(v), HAlign::Right, VAlign::Baseline);
  });
  eachMultiple(-s, s, p.drawnYmin + s / 3, false, [&](double v) {
    const int Y = tick(v);
    canvas.text({x0 - 3, Y - 7}, gFormat(v), HAlign::Right, VAlign::Top);
  });
}

bool CAxes::extent(Box& box) const {
  box = {0, 0, static_cast<double>(labels.size()) + 1, 0};
  return true;
}

}  // namespace tesmora::graphics
