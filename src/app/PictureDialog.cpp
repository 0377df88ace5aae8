#include "app/PictureDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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

}  // namespace

int PictureDialog::codeOf(const QString& item, PictureMode mode, int index) {
  for (const ItemCode& row : kItemCodes) {
    if (item == QString::fromUtf16(row.item))
      return mode == PictureMode::QShow ? row.qshowCode : row.showCode;
  }
  return index + 1;
}

PictureDialog::PictureDialog(const QString& title, QStringList items,
                             PictureMode mode, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  setMinimumSize(300, 300);
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

  auto* titleLabel = new QLabel(title);
  titleLabel->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(titleLabel, 1);
}

void PictureDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && hasContinue_) {
    done(codeOf(kContinue, PictureMode::Show, 0));
    return;
  }
  QDialog::keyPressEvent(event);  // Escape closes with 0
}

}  // namespace tesmora::app
