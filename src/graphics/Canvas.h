// The surface the picture is drawn on. Everything about a picture (range,
// mapping, axes, every command's pixels) is computed in the core; a canvas
// only puts primitives at the pixel positions it is given. The window
// draws through a QPainter canvas, the runner writes SVG files, and tests
// record the calls.
//
// Pixel conventions follow the classic raster rules the layout relies on:
// a line from A to B covers A but not B; rectangles include their left and
// top edges and exclude the right and bottom ones.
#pragma once

#include <cstdint>
#include <string_view>

namespace tesmora::graphics {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// A solid pen; a width below 1 is the invisible pen (draws nothing).
struct Pen {
  Rgb color;
  int width = 1;
  bool visible() const { return width >= 1; }
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct TextExtent {
  int width = 0;
  int height = 0;
  int ascent = 0;  // from the top of the text cell to its baseline
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Baseline };

// The two arrow heads at the ends of the axes, 8×8 pixels each.
enum class Arrow { XAxis, YAxis };
inline constexpr int kArrowSize = 8;
// Row r of an arrow's bitmap: bit (7 − c) set when pixel (c, r) is black.
std::uint8_t arrowRow(Arrow arrow, int row);

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The client area in pixels.
  virtual int width() const = 0;
  virtual int height() const = 0;

  virtual void line(Point from, Point to, const Pen& pen) = 0;
  virtual void fillRect(const Rect& rect, Rgb color) = 0;
  // A rectangle outlined with `pen` (inside its edges) and filled with `fill`.
  virtual void rectangle(const Rect& rect, const Pen& pen, Rgb fill) = 0;
  virtual void pixel(Point at, Rgb color) = 0;

  // Texts are Windows-1251 bytes, drawn in black on a transparent ground.
  virtual TextExtent measureText(std::string_view text) = 0;
  virtual void text(Point at, std::string_view text, HAlign h, VAlign v) = 0;

  // Copies an arrow bitmap with its top-left corner at `at`; by default
  // pixel by pixel (white pixels included, as a bitmap copy does).
  virtual void arrow(Arrow which, Point at);
};

}  // namespace tesmora::graphics
