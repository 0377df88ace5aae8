// The world rectangle, its rounding and the world-to-pixel mapping, checked
// at exact pixels on a recording canvas.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RecordingCanvas.h"
#include "graphics/Cursor.h"
#include "graphics/PictureLayout.h"
#include "graphics/PlotCommands.h"
#include "graphics/StateCommands.h"
#include "text/Cp1251.h"

namespace tesmora::graphics {
namespace {

using testing::RecordingCanvas;

// 360×368 leaves a plotting area of 320×320 pixels inside the margins, so
// a 0…10 range maps at exactly 32 pixels a unit.
constexpr int kWidth = 360, kHeight = 368;

void addLine(PictureState& p, std::vector<double> x, std::vector<double> y) {
  CLine::Style style;
  style.color = {255, 0, 0};
  p.append(std::make_unique<CLine>(p, style, std::move(x), std::move(y)));
}

CAxes& addAxes(PictureState& p, double xStep, double yStep) {
  auto axes = std::make_unique<CAxes>(p, xStep, yStep, "");
  CAxes& added = *axes;
  p.append(std::move(axes));
  p.axes = &added;
  return added;
}

TEST(GraphicsLayout, ViewMapsMarginsAndCornersToExactPixels) {
  PictureState p;
  auto view = std::make_unique<CSetView>(p, 0, 10, 0, 10);
  p.view = view.get();
  p.append(std::move(view));
  addLine(p, {0, 10}, {0, 10});
  preparePicture(p);
  RecordingCanvas canvas(kWidth, kHeight);
  paintPicture(p, canvas);

  EXPECT_DOUBLE_EQ(p.map.sx, 32);
  EXPECT_DOUBLE_EQ(p.map.wx0, -0.625);
  EXPECT_DOUBLE_EQ(p.map.wy1, 10.75);
  EXPECT_EQ(canvas.calls.front(), "fill 0,0-360,368 255/255/255");
  EXPECT_EQ(canvas.starting("line"),
            std::vector<std::string>{"line 20,344 340,24 255/0/0 w1"});
}

TEST(GraphicsLayout, RangeIsTheUnionOfExtentsWithDegenerateAxesWidened) {
  PictureState p;
  addLine(p, {2, 4}, {-3, 5});
  addLine(p, {1, 3}, {0, 0});
  preparePicture(p);
  EXPECT_EQ(p.xmin, 1);
  EXPECT_EQ(p.xmax, 4);
  EXPECT_EQ(p.ymin, -3);
  EXPECT_EQ(p.ymax, 5);

  PictureState flat;
  addLine(flat, {5, 5}, {7, 7});
  preparePicture(flat);
  EXPECT_EQ(flat.xmax, 15);
  EXPECT_EQ(flat.ymax, 17);

  PictureState none;
  none.append(std::make_unique<CSetPen>(none, kBlack, 2));
  preparePicture(none);
  EXPECT_EQ(none.xmin, 0);
  EXPECT_EQ(none.xmax, 10);
  EXPECT_EQ(none.ymax, 10);
}

TEST(GraphicsLayout, StepsAreAutomaticOrDroppedWhenTooDense) {
  EXPECT_DOUBLE_EQ(automaticStep(10), 1);
  EXPECT_DOUBLE_EQ(automaticStep(3), 0.5);
  EXPECT_DOUBLE_EQ(automaticStep(7), 1);
  EXPECT_DOUBLE_EQ(automaticStep(250), 50);

  PictureState p;
  addLine(p, {0, 10}, {0, 10});
  CAxes& axes = addAxes(p, 0.1, 0);
  preparePicture(p);
  EXPECT_EQ(axes.xStep, -1);  // below a fiftieth of the range
  EXPECT_EQ(axes.yStep, 1);
  RecordingCanvas canvas(kWidth, kHeight);
  paintPicture(p, canvas);
  EXPECT_EQ(axes.xStep, 0);  // dropped for this pass ...
  EXPECT_TRUE(canvas.starting("text").size() == 9);  // only y labels 1…9
  preparePicture(p);
  EXPECT_EQ(axes.xStep, 1);  // ... and automatic at the next preparation
}

TEST(GraphicsLayout, RoundingUsesAFineStepOfTheSpan) {
  double low = 0.123, high = 9.87;
  roundRange(low, high);  // span/10 ≈ 0.97: step 1, fine step 0.01
  EXPECT_NEAR(low, 0.12, 1e-12);
  EXPECT_NEAR(high, 9.87, 1e-12);
  low = -0.359375;
  high = 10;  // span/10 ≈ 1.04: power 10, divisor 5, fine step 0.02
  roundRange(low, high);
  EXPECT_NEAR(low, -0.36, 1e-12);
  EXPECT_DOUBLE_EQ(high, 10);
  double same = 4;
  double also = 4;
  roundRange(same, also);
  EXPECT_EQ(same, 4);
}

// With axes the range grows to the left for the widest y label and down for
// the height of the x labels, then is rounded.
TEST(GraphicsLayout, AxesMakeRoomForTheirLabels) {
  PictureState p;
  addLine(p, {0, 10}, {0, 10});
  addAxes(p, 1, 1);
  preparePicture(p);
  RecordingCanvas canvas(kWidth, kHeight);
  paintPicture(p, canvas);
  // "10" is 12 pixels wide: x of pixel 20 − 12 + 0.5 is −0.359375, rounded
  // down to −0.36; the x labels' 10 pixels give −0.296875, rounded to −0.3.
  EXPECT_NEAR(p.xminLow, -0.36, 1e-12);
  EXPECT_NEAR(p.yminLow, -0.30, 1e-12);
  EXPECT_EQ(p.map.X(0), 31);
  EXPECT_EQ(p.map.Y(0), 334);  // 10.7725 / 0.0321875 = 334.7

  const auto texts = canvas.starting("text");
  ASSERT_EQ(texts.size(), 9u + 9u + 1u);  // x 0…9 … and y 1…9
  EXPECT_EQ(texts.front(), "text 31,337 center top 0");
  const auto arrows = canvas.starting("xarrow");
  ASSERT_EQ(arrows.size(), 1u);
  EXPECT_EQ(arrows[0], "xarrow 337,331");  // X(10) − 3, Y(0) − 3
}

TEST(GraphicsLayout, TooSmallAreaOrCollapsedRangeDrawsNothing) {
  PictureState p;
  addLine(p, {0, 10}, {0, 10});
  preparePicture(p);
  RecordingCanvas tiny(30, 30);
  paintPicture(p, tiny);
  EXPECT_EQ(tiny.calls.size(), 1u);  // the white ground only
  EXPECT_FALSE(p.drawable);
}

TEST(GraphicsCursor, ReadoutRoundsToTwoPixelsAndFormatsDates) {
  PictureState p;
  auto view = std::make_unique<CSetView>(p, 0, 10, 0, 10);
  p.view = view.get();
  p.append(std::move(view));
  preparePicture(p);
  RecordingCanvas canvas(kWidth, kHeight);
  paintPicture(p, canvas);
  // Pixel 180 is x = 180.5/32 − 0.625 = 5.0156; two pixels are 0.0693
  // world units, so x is rounded to a multiple of 0.05.
  const CursorReadout at = cursorReadout(p, 180, 184);
  EXPECT_DOUBLE_EQ(at.x, 5);
  EXPECT_DOUBLE_EQ(at.y, 5);
  EXPECT_EQ(at.bottom, "5     5");
  EXPECT_TRUE(at.top.empty());

  EXPECT_TRUE(cursorShown(p, 180, 184, 183, 180));
  EXPECT_FALSE(cursorShown(p, 180, 184, 186, 184));  // moved 6 pixels
  EXPECT_FALSE(cursorShown(p, 10, 184, 10, 184));    // inside the strip

  EXPECT_EQ(formatDayCount(46027.6041667, 0), cp("Пн 05.01.2026 14:30"));
  EXPECT_EQ(formatDayCount(46027, 1), cp("Пн 05.01.2026"));
  EXPECT_EQ(formatDayCount(46027, 2), cp("Январь 2026"));
  EXPECT_EQ(formatDayCount(0, 1), cp("Сб 30.12.1899"));
  EXPECT_EQ(formatDayCount(1e12, 1), cp("Ошибка"));
}

}  // namespace
}  // namespace tesmora::graphics
