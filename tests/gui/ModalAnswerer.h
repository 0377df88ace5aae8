// Answers the modal dialogs a test provokes. A modal dialog blocks the
// test's own call (QDialog::exec), so a timer looks for each new modal
// widget and hands it to the test's handler, which inspects and closes it.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <utility>

namespace tesmora::app::test {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class ModalAnswerer : public QObject {
 public:
  using Handler = std::function<void(QWidget*)>;

  explicit ModalAnswerer(Handler handler) : handler_(std::move(handler)) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(5);
  }

  int answered() const { return answered_; }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == last_) return;
    last_ = modal;
    ++answered_;
    handler_(modal);
  }

  Handler handler_;
  QTimer timer_;
  QPointer<QWidget> last_;
  int answered_ = 0;
};

// Records a message box and closes it with its OK (or escape) button.
inline void recordAndClose(QWidget* modal, QList<SeenBox>& seen) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box == nullptr) {
    modal->close();
    return;
  }
  seen.append({box->windowTitle(), box->text(), box->icon()});
  QAbstractButton* button = box->button(QMessageBox::Ok);
  if (button == nullptr) button = box->escapeButton();
  if (button != nullptr) {
    button->click();
  } else {
    box->done(0);
  }
}

// Clicks the button with the given label.
inline bool clickButtonLabelled(QWidget* dialog, const QString& label) {
  for (auto* button : dialog->findChildren<QAbstractButton*>()) {
    if (button->text() == label && button->isVisible()) {
      button->click();
      return true;
    }
  }
  return false;
}

}  // namespace tesmora::app::test
