#include "cli/PngPicture.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "cli/PngPluginApi.h"
#include "graphics/PictureLayout.h"

namespace tesmora::cli {
namespace {

// The folder of the running program: the plugin is built beside it.
std::string programFolder() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string folder(path, static_cast<std::size_t>(length));
  const auto slash = folder.rfind('/');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

const PngPluginApi* loadPlugin() {
  const std::string candidates[] = {
      programFolder() + kPngPluginFile,
#ifdef TESMORA_PNG_PLUGIN_PATH
      TESMORA_PNG_PLUGIN_PATH,
#endif
  };
  for (const std::string& candidate : candidates) {
    void* library = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) continue;
    auto entry = reinterpret_cast<TesmoraPngPluginEntry>(::dlsym(library, kPngPluginEntry));
    const PngPluginApi* api = entry ? entry() : nullptr;
    if (api && api->version == kPngPluginVersion) return api;
    ::dlclose(library);
  }
  return nullptr;
}

// Loaded at the first PNG and kept; null when no plugin can be loaded, and
// then PNG pictures are not written (the runner warns).
const PngPluginApi* plugin() {
  static const PngPluginApi* const api = loadPlugin();
  return api;
}

void paintInto(graphics::Canvas& canvas, void* picture) {
  graphics::paintPicture(*static_cast<graphics::PictureState*>(picture), canvas);
}

}  // namespace

void prepareRasterPictures() {
  if (const PngPluginApi* api = plugin()) api->prepare();
}

bool writePngPicture(graphics::PictureState& picture, int width, int height,
                     const std::string& file) {
  const PngPluginApi* api = plugin();
  return api && api->drawPng(width, height, file.c_str(), paintInto, &picture);
}

}  // namespace tesmora::cli
