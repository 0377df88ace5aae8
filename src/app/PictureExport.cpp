#include "app/PictureExport.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "app/QtCanvas.h"
#include "graphics/PictureLayout.h"
#include "graphics/PictureState.h"
#include "graphics/SvgCanvas.h"

namespace tesmora::app {

namespace {

// The window's resolution: a PDF page of W×H pixels measures W×H / 96 in.
constexpr int kScreenDpi = 96;

QByteArray pngBytes(graphics::PictureState& picture, QSize size) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  renderPicture(picture, size).save(&buffer, "PNG");
  return bytes;
}

QByteArray svgBytes(graphics::PictureState& picture, QSize size) {
  graphics::SvgCanvas canvas(size.width(), size.height());
  graphics::paintPicture(picture, canvas);
  return QByteArray::fromStdString(canvas.document());
}

QByteArray pdfBytes(graphics::PictureState& picture, QSize size) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Tesmora"));
    writer.setResolution(kScreenDpi);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / kScreenDpi,
                                        size.height() * 72.0 / kScreenDpi),
                                 QPageSize::Point, QString(),
                                 QPageSize::ExactMatch));
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    QtCanvas canvas(painter, size.width(), size.height());
    graphics::paintPicture(picture, canvas);
  }
  return bytes;
}

}  // namespace

PictureFormat pictureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
  if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
  return PictureFormat::Png;
}

QImage renderPicture(graphics::PictureState& picture, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QtCanvas canvas(painter, size.width(), size.height());
  graphics::paintPicture(picture, canvas);
  return image;
}

bool savePicture(graphics::PictureState& picture, QSize size,
                 const QString& path, PictureFormat format, QString& error) {
  QByteArray bytes;
  switch (format) {
    case PictureFormat::Png: bytes = pngBytes(picture, size); break;
    case PictureFormat::Svg: bytes = svgBytes(picture, size); break;
    case PictureFormat::Pdf: bytes = pdfBytes(picture, size); break;
  }
  // Written under a temporary name and renamed: a full disk leaves the old
  // file (or none), never a cut one.
  QSaveFile file(path);
  if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) ||
      file.write(bytes) != bytes.size() || !file.commit()) {
    error = QStringLiteral("Не удается сохранить рисунок в файл %1.\n%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  return true;
}

void copyPictureToClipboard(graphics::PictureState& picture, QSize size) {
  QGuiApplication::clipboard()->setImage(renderPicture(picture, size));
}

}  // namespace tesmora::app
