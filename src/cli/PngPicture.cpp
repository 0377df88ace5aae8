#include "cli/PngPicture.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

#include "app/QtCanvas.h"
#include "graphics/PictureLayout.h"

namespace tesmora::cli {
namespace {

// QGuiApplication keeps references to argc and argv for its whole life.
int applicationArgc = 1;
char applicationName[] = "tesmora-run";
char* applicationArgv[] = {applicationName, nullptr};

std::unique_ptr<QGuiApplication> makeOffscreenApplication() {
  if (QGuiApplication::instance() != nullptr) return nullptr;
  // No display is needed, or used even when there is one.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  return std::make_unique<QGuiApplication>(applicationArgc, applicationArgv);
}

}  // namespace

void prepareRasterPictures() {
  // Made once; a static so that it lives until exit, and initialised by the
  // construction itself so that it goes before the Qt objects it creates.
  static const std::unique_ptr<QGuiApplication> application =
      makeOffscreenApplication();
}

bool writePngPicture(graphics::PictureState& picture, int width, int height,
                     const std::string& file) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    app::QtCanvas canvas(painter, width, height);
    graphics::paintPicture(picture, canvas);
  }
  return image.save(QFile::decodeName(QByteArray::fromStdString(file)), "PNG");
}

}  // namespace tesmora::cli
