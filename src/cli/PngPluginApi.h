// The PNG plugin's entry point. PNG pictures are drawn with Qt (the desktop
// program's QPainter canvas), and Qt takes most of the runner's start-up
// time, so it lives in a plugin, libtesmora_png.so, that the runner loads
// only when a PNG picture is asked for. Plain C entry, one version number:
// the runner refuses a plugin built for another layout.
#pragma once

namespace tesmora::graphics {
class Canvas;
}

namespace tesmora::cli {

inline constexpr int kPngPluginVersion = 1;
inline constexpr const char* kPngPluginFile = "libtesmora_png.so";
inline constexpr const char* kPngPluginEntry = "tesmora_png_plugin";

struct PngPluginApi {
  int version;
  // Makes the offscreen Qt GUI application once (see prepareRasterPictures).
  void (*prepare)();
  // Draws a `width` x `height` image on white: `paint` is called with a
  // canvas on it; then writes it to `file` as PNG. False when the file
  // cannot be written.
  bool (*drawPng)(int width, int height, const char* file,
                  void (*paint)(graphics::Canvas& canvas, void* context),
                  void* context);
};

}  // namespace tesmora::cli

extern "C" {
using TesmoraPngPluginEntry = const tesmora::cli::PngPluginApi* (*)();
}
