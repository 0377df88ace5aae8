// The picture drawn with QPainter: the picture window's client area (and
// any QImage). Text uses the painter's font and its own metrics, so the
// layout makes room for labels as they really are. With the painter's
// Antialiasing hint, lines are smoothed without moving their pixels.
#pragma once

#include <QPainter>

#include "graphics/Canvas.h"

namespace tesmora::app {

class QtCanvas final : public graphics::Canvas {
 public:
  QtCanvas(QPainter& painter, int width, int height)
      : painter_(painter), width_(width), height_(height) {}

  int width() const override { return width_; }
  int height() const override { return height_; }
  void line(graphics::Point from, graphics::Point to, const graphics::Pen& pen) override;
  void fillRect(const graphics::Rect& rect, graphics::Rgb color) override;
  void rectangle(const graphics::Rect& rect, const graphics::Pen& pen,
                 graphics::Rgb fill) override;
  void pixel(graphics::Point at, graphics::Rgb color) override;
  graphics::TextExtent measureText(std::string_view text) override;
  void text(graphics::Point at, std::string_view text, graphics::HAlign h,
            graphics::VAlign v) override;

 private:
  // The painter antialiases: lines are placed on pixel centres.
  bool smooth() const;

  QPainter& painter_;
  int width_, height_;
};

}  // namespace tesmora::app
