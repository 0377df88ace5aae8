#include "graphics/PictureState.h"

#include "text/Cp1251.h"

namespace tesmora::graphics {

void widen(Box& box, bool& first, double x, double y) {
  if (first) {
    box = {x, y, x, y};
    first = false;
    return;
  }
  box.xmin = std::fmin(box.xmin, x);
  box.xmax = std::fmax(box.xmax, x);
  box.ymin = std::fmin(box.ymin, y);
  box.ymax = std::fmax(box.ymax, y);
}

PictureState::PictureState() : title(cp("Рисунок")) {}

PictureState::~PictureState() = default;

CGCom& PictureState::append(std::unique_ptr<CGCom> command) {
  commands_.push_back(std::move(command));
  return *commands_.back();
}

void PictureState::erase() {
  commands_.clear();
  title = cp("Рисунок");
  rangeKnown = false;
  view = nullptr;
  axes = nullptr;
}

PictureState& picture() {
  static PictureState state;
  return state;
}

}  // namespace tesmora::graphics
