// The editor's font: a table of twelve sizes the user steps through with
// the font bigger and smaller commands, in one fixed-pitch family. Larger
// sizes are drawn semibold so that the thin strokes of Courier stay legible.
#pragma once

#include <QFont>

#include <array>

namespace tesmora::app {

// Sizes in points, smallest first.
inline constexpr std::array<int, 12> kFontSizes = {9,  10, 11, 12, 14, 16,
                                                   18, 20, 22, 24, 26, 28};
// A new editor starts at 10 points.
inline constexpr int kInitialFontIndex = 1;
// From this size on the font is semibold.
inline constexpr int kSemiboldFromPoints = 14;

constexpr int lastFontIndex() { return int(kFontSizes.size()) - 1; }
constexpr bool canGrowFont(int index) { return index < lastFontIndex(); }
constexpr bool canShrinkFont(int index) { return index > 0; }

// The editor font at `index` (clamped to the table): "Courier New" when
// the system has it, otherwise the system's fixed-pitch font.
QFont editorFont(int index);

}  // namespace tesmora::app
