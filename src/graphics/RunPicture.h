// What a run does with the picture: the run driver empties it at the start
// of every program run and after a failed run, and at the end of a
// successful run hands a non-empty picture to the host to show.
#pragma once

namespace tesmora {
class Host;
struct RunReport;
}  // namespace tesmora

namespace tesmora::graphics {

// At the start of a run: the date converter is dropped; a program run (not
// a single expression) also starts from an empty picture.
void startRunPicture(bool programMode);

// After a failed run: the picture is hidden and emptied.
void failRunPicture(Host& host);

// After a successful run: the report names the picture; a non-empty one is
// prepared and shown, an empty one hidden.
void finishRunPicture(Host& host, RunReport& report);

}  // namespace tesmora::graphics
