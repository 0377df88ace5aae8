// A canvas that writes down every call as one line of text, with fixed text
// metrics (6 pixels a character, 10 high, baseline at 8), so tests can
// assert the exact pixels a picture is drawn at.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/Canvas.h"

namespace tesmora::testing {

class RecordingCanvas final : public graphics::Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int width() const override { return width_; }
  int height() const override { return height_; }

  void line(graphics::Point a, graphics::Point b, const graphics::Pen& pen) override {
    calls.push_back("line " + at(a) + " " + at(b) + " " + color(pen.color) + " w" +
                    std::to_string(pen.width));
  }
  void fillRect(const graphics::Rect& r, graphics::Rgb c) override {
    calls.push_back("fill " + rect(r) + " " + color(c));
  }
  void rectangle(const graphics::Rect& r, const graphics::Pen& pen,
                 graphics::Rgb fill) override {
    calls.push_back("rect " + rect(r) + " " + color(pen.color) + " w" +
                    std::to_string(pen.width) + " fill " + color(fill));
  }
  void pixel(graphics::Point p, graphics::Rgb c) override {
    calls.push_back("pixel " + at(p) + " " + color(c));
  }
  graphics::TextExtent measureText(std::string_view text) override {
    return {static_cast<int>(text.size()) * 6, 10, 8};
  }
  void text(graphics::Point p, std::string_view text, graphics::HAlign h,
            graphics::VAlign v) override {
    const char* hs = h == graphics::HAlign::Left ? "left" :
                     h == graphics::HAlign::Center ? "center" : "right";
    calls.push_back("text " + at(p) + " " + hs +
                    (v == graphics::VAlign::Top ? " top " : " baseline ") +
                    std::string(text));
  }
  void arrow(graphics::Arrow which, graphics::Point p) override {
    calls.push_back(std::string(which == graphics::Arrow::XAxis ? "xarrow " : "yarrow ") +
                    at(p));
  }

  // The calls that start with `prefix`, in order.
  std::vector<std::string> starting(const std::string& prefix) const {
    std::vector<std::string> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return found;
  }

  std::vector<std::string> calls;

 private:
  static std::string at(graphics::Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
  }
  static std::string rect(const graphics::Rect& r) {
    return at({r.left, r.top}) + "-" + at({r.right, r.bottom});
  }
  static std::string color(graphics::Rgb c) {
    return std::to_string(c.r) + "/" + std::to_string(c.g) + "/" + std::to_string(c.b);
  }
  int width_, height_;
};

}  // namespace tesmora::testing
