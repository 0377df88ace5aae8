#include "graphics/ChartCommands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "values/Random.h"

namespace tesmora::graphics {

void CHist::draw(Canvas& canvas) {
  const Mapping& m = picture().map;
  const Pen outline{outline_, outlineWidth_};
  for (const Bar& bar : bars_) {
    const double centre = (bar.left + bar.right) / 2;
    const double half = (bar.right - bar.left) / 2 * factor_;
    const int x1 = Mapping::toPixel((centre - half - m.wx0) * m.sx);
    const int y1 = Mapping::toPixel((m.wy1 - bar.height) * m.sy);
    const int x2 = Mapping::toPixel((centre + half - m.wx0) * m.sx) + 1;
    const int y2 = Mapping::toPixel((m.wy1 - 0) * m.sy) + 1;
    canvas.rectangle({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                      std::max(y1, y2)},
                     outline, fill_);
  }
}

bool CHist::extent(Box& box) const {
  bool first = true;
  for (const Bar& bar : bars_) {
    widen(box, first, bar.left, 0);
    widen(box, first, bar.right, bar.height);
  }
  return !first;
}

// Random portfolios as single pixels, and the line from the risk-free rate
// through the portfolio of the steepest slope.
void CCML::draw(Canvas& canvas) {
  const Mapping& m = picture().map;
  const std::size_t n = mu_.size();
  std::vector<double> w(n);
  bool found = false;
  double bestSlope = 0, bestDeviation = 0;
  for (int k = 0; k < portfolios_; ++k) {
    double total = 0, mean = 0;
    for (std::size_t i = 0; i < n; ++i) {
      w[i] = nextRandom() / 32767.0;
      total += w[i];
      mean += w[i] * mu_[i];
    }
    double variance = 0;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) variance += w[i] * cov_[i * n + j] * w[j];
    }
    mean /= total;
    const double deviation = std::sqrt(variance) / total;
    canvas.pixel({Mapping::toPixel((deviation - m.wx0) * m.sx),
                  Mapping::toPixel((m.wy1 - mean) * m.sy)},
                 pointColor_);
    if (deviation > 0) {
      const double slope = (mean - riskFree_) / deviation;
      if (!found || slope > bestSlope) {
        found = true;
        bestSlope = slope;
        bestDeviation = deviation;
      }
    }
  }
  if (!found) return;
  const double far = 20 * bestDeviation;
  canvas.line(m.at(0, riskFree_), m.at(far, riskFree_ + far * bestSlope),
              Pen{lineColor_, 1});
}

bool CCML::extent(Box& box) const {
  const std::size_t n = mu_.size();
  double deviation = 0;
  for (std::size_t i = 0; i < n; ++i) {
    deviation = std::max(deviation, std::sqrt(cov_[i * n + i]));
  }
  double top = riskFree_;
  for (double mean : mu_) top = std::max(top, mean);
  box = {0, std::min(0.0, riskFree_), deviation, top};
  return true;
}

}  // namespace tesmora::graphics
