#include "graphics/Canvas.h"

namespace tesmora::graphics {
namespace {

// The arrow heads: the x arrow points right along row 3 (the axis row when
// copied at Y0 − 3), the y arrow points up along column 3.
constexpr std::uint8_t kXArrow[kArrowSize] = {
    0b00000000, 0b00110000, 0b00001100, 0b11111110,
    0b00001100, 0b00110000, 0b00000000, 0b00000000,
};
constexpr std::uint8_t kYArrow[kArrowSize] = {
    0b00010000, 0b00010000, 0b00111000, 0b00111000,
    0b01010100, 0b10010010, 0b00010000, 0b00010000,
};

}  // namespace

std::uint8_t arrowRow(Arrow arrow, int row) {
  if (row < 0 || row >= kArrowSize) return 0;
  return arrow == Arrow::XAxis ? kXArrow[row] : kYArrow[row];
}

void Canvas::arrow(Arrow which, Point at) {
  for (int r = 0; r < kArrowSize; ++r) {
    const std::uint8_t bits = arrowRow(which, r);
    for (int c = 0; c < kArrowSize; ++c) {
      const bool black = (bits >> (kArrowSize - 1 - c)) & 1;
      pixel({at.x + c, at.y + r}, black ? kBlack : kWhite);
    }
  }
}

}  // namespace tesmora::graphics
