// The interpreter's only door to the outside world.
//
// The core never opens a window, reads a clock or touches the clipboard
// itself: it asks its Host. Two hosts exist: the headless runner (answers
// queued on the command line, pictures written to files) and the desktop
// program (Qt dialogs). Tests drive the core through a scripted host.
//
// Every text crossing this interface is Windows-1251 bytes, exactly as the
// interpreter holds it; hosts convert to UTF-8 for display.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace tesmora {

namespace graphics {
class PictureState;
}

// What kind of modal interaction a box is. The runner reports it by name
// ("message", "msg", ...), so the names are part of its output contract.
enum class BoxKind {
  Message,       // message(...): caption "message", OK
  Msg,           // msg(caption, icon, text, buttons)
  PicMsg,        // picmsg(caption, text): owned by the picture window
  Yes,           // yes(question): caption is the document title, YES|NO, (?)
  CPrint,        // cprint(...): "Поместить в буфер обмена?", YES|NO, (?)
  LongRun,       // the long-run question of the run driver
  PictureEmpty,  // the "Рисунок пуст" box of show()
};

const char* boxKindName(BoxKind kind);

// A modal message box. `buttons` is one of the button-set strings of msg
// ("OK", "OK|CANCEL", "ABORT|RETRY|IGNORE", "YES|NO|CANCEL", "YES|NO",
// "RETRY|CANCEL", "CANCEL|TRY|CONTINUE"); `icon` one of "", "(X)", "(?)",
// "!", "(i)".
struct BoxRequest {
  BoxKind kind = BoxKind::Msg;
  std::string caption;
  std::string text;
  std::string buttons = "OK";
  std::string icon;
};

// How the picture window is shown modally.
enum class PictureMode {
  Show,   // show(...): ends with a code (a menu item number, 0 when closed)
  QShow,  // qshow(...): ends with X, SKIP or ASK
};

struct PictureRequest {
  PictureMode mode = PictureMode::Show;
  std::string title;                // the picture window's title
  std::vector<std::string> menu;    // menu items of show(), may be empty
  // The prepared picture to draw (graphics/PictureLayout.h paintPicture);
  // null only for requests that carry no picture.
  graphics::PictureState* picture = nullptr;
};

// The answer of qshow's window.
enum class QShowAnswer { X, Skip, Ask };

class Host {
 public:
  virtual ~Host() = default;

  // Shows a modal box and returns the name of the pressed button
  // ("OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES", "NO", "TRY",
  // "CONTINUE"), or "" when the box was closed without a button.
  virtual std::string messageBox(const BoxRequest& box) = 0;

  // The line-input dialog of getstr. Returns the typed text; closing the
  // dialog without OK yields the empty text.
  virtual std::string getString(const std::string& prompt) = 0;

  // The first pane of the status bar.
  virtual void setStatus(const std::string& text) = 0;

  // Shows the picture window modally (show/qshow). The picture itself is
  // handed over by the graphics layer when it exists; the host returns the
  // window's end code (show) or encodes the qshow answer as 0 = X,
  // 1 = SKIP, 2 = ASK.
  virtual int showPicture(const PictureRequest& request) = 0;

  // Hides the picture window (hide(), and after a failed run).
  virtual void hidePicture() {}

  // Shows the prepared picture without waiting, after a run that left one.
  virtual void presentPicture(graphics::PictureState&) {}

  // Puts plain text on the clipboard.
  virtual void setClipboardText(const std::string& text) = 0;

  // Lets the user interface repaint while a program keeps running.
  virtual void processEvents() {}

  // Monotonic milliseconds, for elapsed times and the long-run check.
  virtual std::int64_t tickMs() = 0;
  // The same clock for the long-run check, which looks at it at every
  // statement: a host may read it more cheaply and coarsely there (a few
  // milliseconds behind tickMs() at most), as a precise reading can cost
  // more than a simple statement.
  virtual std::int64_t checkTickMs() { return tickMs(); }

  // Wall-clock calendar time (seconds since the epoch), for the status text
  // "Выполняется с %H:%M" and for seeding the random generator.
  virtual std::time_t wallClock() = 0;
};

}  // namespace tesmora
