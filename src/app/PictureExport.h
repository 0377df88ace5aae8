// The picture out of its window: as a PNG image, an SVG document (the
// core's SVG canvas), a PDF page, or an image on the clipboard, at any
// size. Raster and PDF output are antialiased; the pixel coordinates are
// those of the window at that size.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace tesmora::graphics {
class PictureState;
}

namespace tesmora::app {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (PNG when unknown).
PictureFormat pictureFormatOf(const QString& path);

QImage renderPicture(graphics::PictureState& picture, QSize size);

// Writes the picture; on failure `error` says why and no partial file is
// left under `path`.
bool savePicture(graphics::PictureState& picture, QSize size,
                 const QString& path, PictureFormat format, QString& error);

void copyPictureToClipboard(graphics::PictureState& picture, QSize size);

}  // namespace tesmora::app
