#include "app/QtHost.h"

#include <QTimer>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QStringList>
#include <QThread>

#include <ctime>
#include <type_traits>
#include <utility>

#include "app/GetStrDialog.h"
#include "app/MessageBoxes.h"
#include "app/PictureDialog.h"
#include "graphics/PictureState.h"
#include "app/TextBridge.h"
#include "text/Cp1251.h"

namespace tesmora::app {

namespace {

bool onGuiThread() {
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs `work` on the GUI thread and returns its result; from the worker it
// waits until the GUI thread has finished it.
template <typename Work>
auto onGui(Work work) -> decltype(work()) {
  using Result = decltype(work());
  if (onGuiThread()) return work();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work),
                              Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { result = work(); },
        Qt::BlockingQueuedConnection);
    return result;
  }
}

}  // namespace

QtHost::QtHost(QWidget* window, std::function<void(const QString&)> showStatus)
    : window_(window), showStatus_(std::move(showStatus)) {
  clock_.start();
}

std::string QtHost::messageBox(const BoxRequest& box) {
  return onGui([&] {
    NormalCursorWhileModal normalCursor;
    return showButtonBox(window_, box).toStdString();
  });
}

std::string QtHost::getString(const std::string& prompt) {
  return onGui([&] {
    NormalCursorWhileModal normalCursor;
    CGetStrDlg dialog(fromCp1251(prompt), window_);
    dialog.exec();
    std::string typed;
    const QByteArray utf8 = dialog.result().toUtf8();
    // The dialog accepts only texts that Windows-1251 can hold.
    utf8ToCp1251(std::string_view(utf8.constData(), utf8.size()), typed);
    return typed;
  });
}

void QtHost::setStatus(const std::string& text) {
  const QString shown = fromCp1251(text);
  onGui([&] { showStatus_(shown); });
}

int QtHost::showPicture(const PictureRequest& request) {
  return onGui([&] {
    NormalCursorWhileModal normalCursor;
    QStringList items;
    for (const std::string& item : request.menu) items << fromCp1251(item);
    PictureDialog dialog(fromCp1251(request.title), items, request.mode,
                         window_, request.picture);
    return dialog.exec();
  });
}

void QtHost::hidePicture() {
  onGui([&] { closePictureWindow(); });
}

void QtHost::closePictureWindow() {
  if (!pictureWindow_) return;
  // Closing here is the program's doing, not the user's: the picture stays.
  QObject::disconnect(pictureWindow_, &QDialog::finished, nullptr, nullptr);
  delete pictureWindow_;
}

void QtHost::presentPicture(graphics::PictureState& picture) {
  onGui([&] {
    closePictureWindow();
    auto* window = new PictureDialog(fromCp1251(picture.title), {}, PictureMode::Show,
                                     window_, &picture);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The user closing the window erases the picture, as after show().
    QObject::connect(window, &QDialog::finished, window, [&picture] { picture.erase(); });
    pictureWindow_ = window;
    window->show();
    // The main window comes to the top when the run ends; the picture
    // goes back above it once the event loop runs again.
    QTimer::singleShot(0, window, [window] { window->raise(); });
  });
}

void QtHost::setClipboardText(const std::string& text) {
  const QString utf16 = QString::fromStdString(cp1251ToUtf8(text));
  onGui([&] { QGuiApplication::clipboard()->setText(utf16); });
}

void QtHost::processEvents() {
  // On the worker the GUI thread keeps its own event loop running, so the
  // window repaints without help; only a run on the GUI thread itself needs
  // to pump events here.
  if (onGuiThread()) QCoreApplication::processEvents();
}

std::int64_t QtHost::tickMs() { return clock_.elapsed(); }

// The monotonic clock's coarse reading (the same clock as of the last timer
// tick, got without reading the hardware counter), counted from where the
// elapsed timer started.
std::int64_t QtHost::checkTickMs() {
  timespec now{};
  if (clock_.clockType() != QElapsedTimer::MonotonicClock ||
      clock_gettime(CLOCK_MONOTONIC_COARSE, &now) != 0) {
    return tickMs();
  }
  return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000 -
         clock_.msecsSinceReference();
}

std::time_t QtHost::wallClock() { return std::time(nullptr); }

}  // namespace tesmora::app
