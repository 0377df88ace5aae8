// A canvas that writes an SVG document: the runner's pictures. Pixels are
// unit squares, lines run through pixel centres, so the file shows the
// same pixels the window would.
#pragma once

#include <string>

#include "graphics/Canvas.h"

namespace tesmora::graphics {

class SvgCanvas final : public Canvas {
 public:
  SvgCanvas(int width, int height);

  int width() const override { return width_; }
  int height() const override { return height_; }
  void line(Point from, Point to, const Pen& pen) override;
  void fillRect(const Rect& rect, Rgb color) override;
  void rectangle(const Rect& rect, const Pen& pen, Rgb fill) override;
  void pixel(Point at, Rgb color) override;
  TextExtent measureText(std::string_view text) override;
  void text(Point at, std::string_view text, HAlign h, VAlign v) override;

  // The finished document (UTF-8).
  std::string document() const;

  // The metrics this canvas lays text out with: a fixed cell per character.
  static constexpr int kCharWidth = 7, kTextHeight = 16, kAscent = 12;

 private:
  int width_, height_;
  std::string body_;
};

}  // namespace tesmora::graphics
