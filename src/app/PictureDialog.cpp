#include "app/PictureDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QToolBar>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QFileInfo>

#include "app/AppIcons.h"
#include "app/MessageBoxes.h"
#include "app/PictureExport.h"
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
    painter.setRenderHint(QPainter::Antialiasing);
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

// Asks for the size of a saved picture.
bool chooseSize(QWidget* parent, QSize& size) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Размер рисунка"));
  auto* width = new QSpinBox;
  auto* height = new QSpinBox;
  for (QSpinBox* box : {width, height}) {
    box->setRange(50, 10000);
    box->setSuffix(QStringLiteral(" пикс."));
  }
  width->setValue(size.width());
  height->setValue(size.height());
  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("Ширина:"), width);
  form->addRow(QStringLiteral("Высота:"), height);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  size = QSize(width->value(), height->value());
  return true;
}

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
    picture_ = picture;
    view_ = new PictureView(*picture, this);
    const auto command = [this](const char* name, const QString& text,
                                const QString& label, const char* icon,
                                QKeySequence key, auto slot) {
      auto* act = new QAction(themedIcon(QLatin1String(icon), palette()),
                              text, this);
      act->setObjectName(QLatin1String(name));
      act->setIconText(label);
      act->setShortcut(key);
      act->setToolTip(key.isEmpty()
                          ? text
                          : QStringLiteral("%1 (%2)").arg(
                                text, key.toString(QKeySequence::NativeText)));
      connect(act, &QAction::triggered, this, slot);
      return act;
    };
    const QList<QAction*> commands = {
        command("copyPicture", QStringLiteral("Копировать рисунок"),
                QStringLiteral("Копировать"), "picture-copy",
                QKeySequence::Copy, &PictureDialog::copyPicture),
        command("savePicture",
                QStringLiteral("Сохранить рисунок (PNG, SVG, PDF)..."),
                QStringLiteral("Сохранить"), "document-save-as",
                QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveAs(false); }),
        command("savePictureSized",
                QStringLiteral("Сохранить рисунок в другом размере..."),
                QStringLiteral("Размер..."), "picture-resize", QKeySequence(),
                [this] { saveAs(true); }),
    };
    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("pictureToolBar"));
    tools->setIconSize(QSize(18, 18));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addActions(commands);
    buttons->addWidget(tools);
    addActions(commands);
    view_->addActions(commands);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(view_, 1);
  } else {
    auto* titleLabel = new QLabel(title);
    titleLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(titleLabel, 1);
  }
}

QSize PictureDialog::pictureSize() const {
  return view_ ? view_->size() : QSize();
}

void PictureDialog::copyPicture() {
  if (picture_ == nullptr) return;
  copyPictureToClipboard(*picture_, pictureSize());
  view_->update();
}

bool PictureDialog::savePictureTo(const QString& path, QSize size) {
  if (picture_ == nullptr) return false;
  QString error;
  const bool saved =
      savePicture(*picture_, size, path, pictureFormatOf(path), error);
  // Drawing at another size moved the mapping; the window draws its own
  // again (the cursor display reads it).
  view_->update();
  if (!saved) showTextBox(this, QMessageBox::Warning, QStringLiteral("Tesmora"), error);
  return saved;
}

void PictureDialog::saveAs(bool sized) {
  QSize size = pictureSize();
  if (sized && !chooseSize(this, size)) return;
  QString filter = QStringLiteral("Рисунок PNG (*.png)");
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Сохранить рисунок"),
      (windowTitle().isEmpty() ? QStringLiteral("Рисунок") : windowTitle()) +
          QStringLiteral(".png"),
      QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg);;Документ PDF (*.pdf)"),
      &filter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) {
    if (filter.contains(QLatin1String("svg"))) path += QStringLiteral(".svg");
    else if (filter.contains(QLatin1String("pdf"))) path += QStringLiteral(".pdf");
    else path += QStringLiteral(".png");
  }
  savePictureTo(path, size);
}

void PictureDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && hasContinue_) {
    done(codeOf(kContinue, PictureMode::Show, 0));
    return;
  }
  QDialog::keyPressEvent(event);  // Escape closes with 0
}

}  // namespace tesmora::app
