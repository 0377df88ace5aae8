// Choosing the world rectangle and drawing the whole picture.
#pragma once

#include "graphics/PictureState.h"

namespace tesmora::graphics {

// Margins around the plotted range, in pixels.
inline constexpr int kMarginLeft = 20, kMarginTop = 24, kMarginRight = 20,
                     kMarginBottom = 24;

// Done before the picture is shown: the range (the view, or the union of
// the commands' extents, 0…10 when none has one), tick steps that are too
// dense marked −1, and steps of 0 replaced by automatic ones.
void preparePicture(PictureState& picture);

// One drawing pass over the canvas's client area: room for the axis
// labels, rounding of the range, the mapping, and every command in order.
// A range that collapses after rounding, or a client area smaller than the
// margins, leaves the area blank.
void paintPicture(PictureState& picture, Canvas& canvas);

// A step of about a tenth of the span: 1, 2 or 5 times a power of ten.
double automaticStep(double span);

// Rounds `low` down and `high` up to a fine step of about a thousandth of
// their span (nothing when the span is 0).
void roundRange(double& low, double& high);

}  // namespace tesmora::graphics
