#include "graphics/PictureLayout.h"

#include <cmath>

#include "graphics/StateCommands.h"

namespace tesmora::graphics {
namespace {

// Of 10^⌈log₁₀ a⌉: the divisor 1, 2 or 5 that brings it nearest above a.
double roundStepDivisor(double power, double a) {
  const double ratio = power / a;
  return ratio < 2 ? 1 : ratio < 5 ? 2 : 5;
}

double powerAbove(double a) { return std::pow(10.0, std::ceil(std::log10(a))); }

void chooseRange(PictureState& p) {
  if (p.view) {
    p.xmin = p.view->xmin;
    p.xmax = p.view->xmax;
    p.ymin = p.view->ymin;
    p.ymax = p.view->ymax;
  } else {
    Box all;
    bool first = true;
    for (const auto& command : p.commands()) {
      Box box;
      if (!command->extent(box)) continue;
      widen(all, first, box.xmin, box.ymin);
      widen(all, first, box.xmax, box.ymax);
    }
    if (first) all = {0, 0, 10, 10};
    p.xmin = all.xmin;
    p.xmax = all.xmax;
    p.ymin = all.ymin;
    p.ymax = all.ymax;
  }
  if (p.xmin == p.xmax) p.xmax = p.xmin + 10;
  if (p.ymin == p.ymax) p.ymax = p.ymin + 10;
  p.rangeKnown = true;
}

Mapping mappingFor(double xlow, double xhigh, double ylow, double yhigh, int w, int h) {
  Mapping m;
  const double d = (xhigh - xlow) / (w - kMarginLeft - kMarginRight);
  const double e = (yhigh - ylow) / (h - kMarginTop - kMarginBottom);
  m.sx = 1 / d;
  m.sy = 1 / e;
  m.wx0 = xlow - kMarginLeft * d;
  m.wy0 = ylow - kMarginBottom * e;
  m.wx1 = xhigh + kMarginRight * d;
  m.wy1 = yhigh + kMarginTop * e;
  return m;
}

// Lowers xminLow (and yminLow) so that the y labels left of the y axis and
// the x labels under the x axis fit inside the plotted range.
void makeLabelRoom(PictureState& p, Canvas& canvas) {
  const CAxes& axes = *p.axes;
  const Mapping m = mappingFor(p.xmin, p.xmax, p.ymin, p.ymax, p.clientWidth,
                               p.clientHeight);
  const int x0 = m.X(0);
  const double s = axes.yStep;
  if (s > 0) {
    constexpr long kMaxLabels = 100000;
    for (int direction : {1, -1}) {
      for (long k = direction > 0 ? 0 : 1; k < kMaxLabels; ++k) {
        const double v = direction * k * s;
        if (v > p.ymax + s / 2 || v < p.ymin - s / 2) break;
        const int width = canvas.measureText(gFormat(v)).width;
        const double x = (x0 - width + 0.5) / m.sx + m.wx0;
        if (x < p.xminLow) p.xminLow = x;
      }
    }
  }
  if (axes.xStep > 0) {
    const int height = canvas.measureText("0").height;
    const double y = m.wy1 - (m.Y(0) + height - 0.5) / m.sy;
    if (y < p.yminLow) p.yminLow = y;
  }
}

}  // namespace

double automaticStep(double span) {
  const double a = span / 10;
  const double e = powerAbove(a);
  return e / roundStepDivisor(e, a);
}

void roundRange(double& low, double& high) {
  const double d = (high - low) / 10;
  if (d == 0 || !std::isfinite(d)) return;
  const double f = powerAbove(d);
  const double fine = f * 0.01 / roundStepDivisor(f, d);
  // A bound already on the grid stays there despite the division's last bit.
  constexpr double kSlack = 1e-9;
  high = std::ceil(high / fine - kSlack) * fine;
  low = std::floor(low / fine + kSlack) * fine;
}

void preparePicture(PictureState& p) {
  chooseRange(p);
  if (!p.axes) return;
  CAxes& axes = *p.axes;
  if (axes.xStep > 0 && axes.xStep < (p.xmax - p.xmin) / 50) axes.xStep = -1;
  if (axes.yStep > 0 && axes.yStep < (p.ymax - p.ymin) / 40) axes.yStep = -1;
  if (axes.xStep == 0) axes.xStep = automaticStep(p.xmax - p.xmin);
  if (axes.yStep == 0) axes.yStep = automaticStep(p.ymax - p.ymin);
}

void paintPicture(PictureState& p, Canvas& canvas) {
  p.clientWidth = canvas.width();
  p.clientHeight = canvas.height();
  p.drawable = false;
  canvas.fillRect({0, 0, p.clientWidth, p.clientHeight}, kWhite);
  if (!p.rangeKnown) preparePicture(p);
  const bool roomy = p.clientWidth > kMarginLeft + kMarginRight &&
                     p.clientHeight > kMarginTop + kMarginBottom;

  p.xminLow = p.xmin;
  p.yminLow = p.ymin;
  if (!p.view && p.axes) {
    CAxes& axes = *p.axes;
    if (axes.xStep < (p.xmax - p.xmin) / 100) axes.xStep = 0;
    if (axes.yStep < (p.ymax - p.ymin) / 100) axes.yStep = 0;
    if (roomy) makeLabelRoom(p, canvas);
  }

  p.drawnXmin = p.xmin;
  p.drawnYmin = p.ymin;
  p.drawnXmax = p.xmax;
  p.drawnYmax = p.ymax;
  roundRange(p.xminLow, p.drawnXmax);
  roundRange(p.yminLow, p.drawnYmax);
  if (p.drawnXmax == p.xminLow || p.drawnYmax == p.yminLow || !roomy) return;

  p.draw = DrawState{};
  p.map = mappingFor(p.xminLow, p.drawnXmax, p.yminLow, p.drawnYmax,
                     p.clientWidth, p.clientHeight);
  p.drawable = true;
  for (const auto& command : p.commands()) command->draw(canvas);
}

}  // namespace tesmora::graphics
