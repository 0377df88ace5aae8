#include "app/PictureDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "app/QtCanvas.h"
#include "app/TextBridge.h"
#include "graphics/Cursor.h"
#include "graphics/PictureLayout.h"

namespace tesmora::app {

namespace {

const QString kContinue = QStringLiteral("Продолжить");

struct ItemCode {
  const char16_t* item;
  int showCode;
  int qshowCode;
};

// The picture window's menu commands and the codes that end its loop.
constexpr ItemCode kItemCodes[] = {
    {u"Да", 1, 1},          {u"Нет", 2, 2},       {u"Продолжить", 3, 3},
    {u"Пропустить", 4, 1},  {u"Спросить", 5, 2},
};

// The client area: the picture, and under a steady mouse the cursor's world
// coordinates (bottom strip) and its date (top strip).
class PictureView final : public QWidget {
 public:
  PictureView(graphics::PictureState& picture, QWidget* parent)
      : QWidget(parent), picture_(picture) {
    setMouseTracking(true);
    setAutoFillBackground(false);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QtCanvas canvas(painter, width(), height());
    graphics::paintPicture(picture_, canvas);
    drawStrip(painter, 0, top_);
    drawStrip(painter, height() - graphics::kStripHeight, bottom_);
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    top_.clear();
    bottom_.clear();
    if (graphics::cursorShown(picture_, last_.x(), last_.y(), at.x(), at.y())) {
      const graphics::CursorReadout readout =
          graphics::cursorReadout(picture_, at.x(), at.y());
      bottom_ = fromCp1251(readout.bottom);
      top_ = fromCp1251(readout.top);
    }
    last_ = at;
    update();
  }

  void mousePressEvent(QMouseEvent*) override { setFocus(); }

 private:
  void drawStrip(QPainter& painter, int y, const QString& text) {
    if (text.isEmpty()) return;
    painter.fillRect(0, y, width(), graphics::kStripHeight, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(3, y + painter.fontMetrics().ascent(), text);
  }

  graphics::PictureState& picture_;
  QPoint last_{-100, -100};
  QString top_, bottom_;
};

}  // namespace

int PictureDialog::codeOf(const QString& item, PictureMode mode, int index) {
  for (const ItemCode& row : kItemCodes) {
    if (item == QString::fromUtf16(row.item))
      return mode == PictureMode::QShow ? row.qshowCode : row.showCode;
  }
  return index + 1;
}

PictureDialog::PictureDialog(const QString& title, QStringList items,
                             PictureMode mode, QWidget* parent,
                             graphics::PictureState* picture)
    : QDialog(parent) {
  setWindowTitle(title);
  setMinimumSize(300, 300);
  resize(440, 400);
  if (mode == PictureMode::QShow && items.isEmpty())
    items = {QStringLiteral("Пропустить"), QStringLiteral("Спросить")};

  auto* buttons = new QHBoxLayout;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QPushButton(items[i]);
    const int code = codeOf(items[i], mode, i);
    connect(button, &QPushButton::clicked, this, [this, code] { done(code); });
    buttons->addWidget(button);
    hasContinue_ = hasContinue_ || items[i] == kContinue;
  }
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(buttons);
  if (picture) {
    layout->addWidget(new PictureView(*picture, this), 1);
  } else {
    auto* titleLabel = new QLabel(title);
    titleLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(titleLabel, 1);
  }
}

void PictureDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && hasContinue_) {
    done(codeOf(kContinue, PictureMode::Show, 0));
    return;
  }
  QDialog::keyPressEvent(event);  // Escape closes with 0
}

}  // namespace tesmora::app
