// The desktop program's Host: Qt dialogs, the status bar and the clipboard.
//
// The interpreter runs on a worker thread (see RunController), while every
// widget belongs to the GUI thread. Each method that touches the user
// interface therefore runs its work on the GUI thread and blocks the worker
// until the user has answered, which keeps the interpreter's view of a
// modal box exactly synchronous.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>

#include "interp/Host.h"

class QWidget;

namespace tesmora::app {

class QtHost : public Host {
 public:
  // `window` owns the dialogs; `showStatus` puts a text into the first
  // status pane.
  QtHost(QWidget* window, std::function<void(const QString&)> showStatus);

  std::string messageBox(const BoxRequest& box) override;
  std::string getString(const std::string& prompt) override;
  void setStatus(const std::string& text) override;
  int showPicture(const PictureRequest& request) override;
  void hidePicture() override;
  // After a run that leaves a picture: the picture window stays open,
  // without a modal loop, until the next run starts or the user closes it
  // (which erases the picture).
  void presentPicture(graphics::PictureState& picture) override;
  // Called on the GUI thread before a run starts: the window must not paint
  // the picture while the run changes it.
  void closePictureWindow();
  void setClipboardText(const std::string& text) override;
  void processEvents() override;
  std::int64_t tickMs() override;
  std::int64_t checkTickMs() override;
  std::time_t wallClock() override;

 private:
  QWidget* window_;
  std::function<void(const QString&)> showStatus_;
  QElapsedTimer clock_;
  QPointer<QDialog> pictureWindow_;
};

}  // namespace tesmora::app
