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

bool QtCanvas::smooth() const {
  return painter_.testRenderHint(QPainter::Antialiasing);
}

void QtCanvas::line(graphics::Point from, graphics::Point to, const graphics::Pen& pen) {
  if (!pen.visible()) return;
  const QPen q = qPen(pen);
  painter_.setPen(q);
  if (!smooth()) {
    painter_.drawLine(from.x, from.y, to.x, to.y);
    return;
  }
  // Antialiased, a line of odd width runs through the pixel centres, so it
  // covers the same pixels as without antialiasing instead of smearing
  // over two rows.
  const qreal centre = q.width() % 2 == 1 ? 0.5 : 0.0;
  painter_.drawLine(QPointF(from.x + centre, from.y + centre),
                    QPointF(to.x + centre, to.y + centre));
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
    const int left = r.left + i, top = r.top + i;
    const int width = r.right - r.left - 2 * i - 1;
    const int height = r.bottom - r.top - 2 * i - 1;
    if (smooth()) painter_.drawRect(QRectF(left + 0.5, top + 0.5, width, height));
    else painter_.drawRect(left, top, width, height);
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
