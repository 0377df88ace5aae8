// PNG pictures of the headless runner: the picture drawn with the desktop
// program's QPainter canvas onto an image. Qt stays behind this header, in
// a plugin loaded at the first PNG (PngPluginApi.h), so a run that writes
// no PNG never loads Qt.
#pragma once

#include <string>

#include "graphics/PictureState.h"

namespace tesmora::cli {

// Text needs a Qt GUI application. This makes one, on the "offscreen"
// platform unless QT_QPA_PLATFORM names another, the first time it is called
// (nothing when the process already has one), and keeps it until the
// process exits. Call it on the main thread, before a run draws: the runs
// execute on threads of their own, which must not own the application.
void prepareRasterPictures();

// Draws the picture as a client area of `width` x `height` pixels on white
// and writes it to `file` as PNG; false when the file cannot be written or
// the plugin cannot be loaded.
// prepareRasterPictures() must have been called.
bool writePngPicture(graphics::PictureState& picture, int width, int height,
                     const std::string& file);

}  // namespace tesmora::cli
