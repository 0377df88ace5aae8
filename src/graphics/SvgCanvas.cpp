#include "graphics/SvgCanvas.h"

#include <cstdio>

#include "text/Cp1251.h"

namespace tesmora::graphics {
namespace {

std::string colorText(Rgb c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

std::string escaped(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // Control characters are not allowed in XML text.
        if (static_cast<unsigned char>(c) < 0x20) out += ' ';
        else out += c;
    }
  }
  return out;
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height) : width_(width), height_(height) {}

void SvgCanvas::line(Point from, Point to, const Pen& pen) {
  if (!pen.visible()) return;
  char text[200];
  std::snprintf(text, sizeof text,
                "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" "
                "stroke=\"%s\" stroke-width=\"%d\"/>\n",
                from.x + 0.5, from.y + 0.5, to.x + 0.5, to.y + 0.5,
                colorText(pen.color).c_str(), pen.width);
  body_ += text;
}

void SvgCanvas::fillRect(const Rect& r, Rgb color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  char text[160];
  std::snprintf(text, sizeof text,
                "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n",
                r.left, r.top, r.right - r.left, r.bottom - r.top,
                colorText(color).c_str());
  body_ += text;
}

void SvgCanvas::rectangle(const Rect& r, const Pen& pen, Rgb fill) {
  fillRect(r, fill);
  if (!pen.visible()) return;
  const double w = pen.width;
  const double width = r.right - r.left - w, height = r.bottom - r.top - w;
  if (width < 0 || height < 0) {
    fillRect(r, pen.color);  // thinner than its outline: all outline
    return;
  }
  char text[200];
  std::snprintf(text, sizeof text,
                "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" "
                "fill=\"none\" stroke=\"%s\" stroke-width=\"%d\"/>\n",
                r.left + w / 2, r.top + w / 2, width, height,
                colorText(pen.color).c_str(), pen.width);
  body_ += text;
}

void SvgCanvas::pixel(Point at, Rgb color) {
  fillRect({at.x, at.y, at.x + 1, at.y + 1}, color);
}

TextExtent SvgCanvas::measureText(std::string_view text) {
  return {static_cast<int>(text.size()) * kCharWidth, kTextHeight, kAscent};
}

void SvgCanvas::text(Point at, std::string_view text, HAlign h, VAlign v) {
  const char* anchor = h == HAlign::Left ? "start" : h == HAlign::Center ? "middle" : "end";
  const int baseline = v == VAlign::Top ? at.y + kAscent : at.y;
  char head[200];
  std::snprintf(head, sizeof head,
                "<text x=\"%d\" y=\"%d\" text-anchor=\"%s\" font-family=\"DejaVu Sans "
                "Mono, monospace\" font-size=\"11.5\" fill=\"#000000\">",
                at.x, baseline, anchor);
  body_ += head;
  body_ += escaped(cp1251ToUtf8(text));
  body_ += "</text>\n";
}

std::string SvgCanvas::document() const {
  char head[300];
  std::snprintf(head, sizeof head,
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                "viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\">\n",
                width_, height_, width_, height_);
  return head + body_ + "</svg>\n";
}

}  // namespace tesmora::graphics
