// libtesmora_png.so: the Qt half of the runner's PNG pictures (see
// PngPluginApi.h). The picture itself is laid out by the runner; this only
// provides the image, the QPainter canvas on it and the PNG file.
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

#include "app/QtCanvas.h"
#include "cli/PngPluginApi.h"

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

void prepare() {
  // Made once; a static so that it lives until exit, and initialised by the
  // construction itself so that it goes before the Qt objects it creates.
  static const std::unique_ptr<QGuiApplication> application =
      makeOffscreenApplication();
}

bool drawPng(int width, int height, const char* file,
             void (*paint)(graphics::Canvas&, void*), void* context) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    app::QtCanvas canvas(painter, width, height);
    paint(canvas, context);
  }
  return image.save(QFile::decodeName(QByteArray(file)), "PNG");
}

const PngPluginApi kApi{kPngPluginVersion, prepare, drawPng};

}  // namespace
}  // namespace tesmora::cli

extern "C" __attribute__((visibility("default"))) const tesmora::cli::PngPluginApi*
tesmora_png_plugin() {
  return &tesmora::cli::kApi;
}
