#include "interp/Host.h"

namespace tesmora {

// These names appear in the runner's JSON output ("kind"), which scripts and
// tests outside the project read: they never change.
const char* boxKindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::Message: return "message";
    case BoxKind::Msg: return "msg";
    case BoxKind::PicMsg: return "picmsg";
    case BoxKind::Yes: return "yes";
    case BoxKind::CPrint: return "cprint";
    case BoxKind::LongRun: return "longrun";
    case BoxKind::PictureEmpty: return "picture-empty";
  }
  return "msg";
}

}  // namespace tesmora
