#include "graphics/StateCommands.h"

#include <cstdio>

namespace tesmora::graphics {

std::string gFormat(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

void CSetPen::draw(Canvas&) {
  picture().draw.pen = color_;
  picture().draw.penWidth = width_;
}

void CSetHPen::draw(Canvas&) {
  picture().draw.hpen = color_;
  picture().draw.hpenWidth = width_;
}

void CSetBrush::draw(Canvas&) { picture().draw.brush = color_; }

}  // namespace tesmora::graphics
