#include "graphics/RunPicture.h"

#include "graphics/PictureLayout.h"
#include "graphics/PictureState.h"
#include "interp/Host.h"
#include "interp/Interpreter.h"

namespace tesmora::graphics {

void startRunPicture(bool programMode) {
  PictureState& p = picture();
  p.dateConverter.reset();
  if (programMode) p.erase();
}

void failRunPicture(Host& host) {
  host.hidePicture();
  picture().erase();
}

void finishRunPicture(Host& host, RunReport& report) {
  PictureState& p = picture();
  report.pictureCommands = p.commandCount();
  report.pictureTitle = p.title;
  if (p.empty()) {
    host.hidePicture();
    return;
  }
  preparePicture(p);
  host.presentPicture(p);
}

}  // namespace tesmora::graphics
