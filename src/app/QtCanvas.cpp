#include "app/QtCanvas.h"

#include <QFontMetrics>
#include <QPen>

#include <algorithm>
#include <string>

#include "app/TextBridge.h"

namespace tesmora::app {
namespace {

QColor qColor(graphics::Rgb c) { return QColor(c.r, c.g, c.b); }

// Very wide pens only slow the painter down; nothing wider shows anyway.
constexpr int kWidestPen = 4096;

QPen qPen(const graphics::Pen& pen) {
  QPen q(qColor(pen.color));
  q.setWidth(std::min(pen.width, kWidestPen));
  q.setCapStyle(Qt::FlatCap);
  return q;
}

}  // namespace

void QtCanvas::line(graphics::Point from, graphics::Point to, const graphics::Pen& pen) {
  if (!pen.visible()) return;
  painter_.setPen(qPen(pen));
  painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QtCanvas::fillRect(const graphics::Rect& r, graphics::Rgb color) {
  painter_.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)),
                    qColor(color));
}

void QtCanvas::rectangle(const graphics::Rect& r, const graphics::Pen& pen,
                         graphics::Rgb fill) {
  fillRect(r, fill);
  if (!pen.visible()) return;
  const int w = std::min(pen.width, kWidestPen);
  // The outline lies inside the rectangle's edges.
  for (int i = 0; i < w && r.left + i < r.right - i && r.top + i < r.bottom - i; ++i) {
    painter_.setPen(QPen(qColor(pen.color), 1));
    painter_.drawRect(r.left + i, r.top + i, r.right - r.left - 2 * i - 1,
                      r.bottom - r.top - 2 * i - 1);
  }
}

void QtCanvas::pixel(graphics::Point at, graphics::Rgb color) {
  painter_.fillRect(at.x, at.y, 1, 1, qColor(color));
}

graphics::TextExtent QtCanvas::measureText(std::string_view text) {
  const QFontMetrics metrics = painter_.fontMetrics();
  return {metrics.horizontalAdvance(fromCp1251(std::string(text))), metrics.height(),
          metrics.ascent()};
}

void QtCanvas::text(graphics::Point at, std::string_view text, graphics::HAlign h,
                    graphics::VAlign v) {
  const QString shown = fromCp1251(std::string(text));
  const QFontMetrics metrics = painter_.fontMetrics();
  const int width = metrics.horizontalAdvance(shown);
  int x = at.x;
  if (h == graphics::HAlign::Center) x -= width / 2;
  if (h == graphics::HAlign::Right) x -= width;
  const int baseline = v == graphics::VAlign::Top ? at.y + metrics.ascent() : at.y;
  painter_.setPen(Qt::black);
  painter_.drawText(x, baseline, shown);
}

}  // namespace tesmora::app
