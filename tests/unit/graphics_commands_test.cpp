// Each command kind drawn at the exact pixels of a 0…10 view on a 360×368
// canvas (32 pixels a unit, x = 0 at pixel 20, y = 0 at pixel 344).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingCanvas.h"
#include "graphics/ChartCommands.h"
#include "graphics/PictureLayout.h"
#include "graphics/PlotCommands.h"
#include "graphics/StateCommands.h"

namespace tesmora::graphics {
namespace {

using testing::RecordingCanvas;
using Calls = std::vector<std::string>;

class GraphicsCommands : public ::testing::Test {
 protected:
  GraphicsCommands() {
    auto view = std::make_unique<CSetView>(p, 0, 10, 0, 10);
    p.view = view.get();
    p.append(std::move(view));
  }
  template <class Command, class... Fields>
  void add(Fields... fields) {
    p.append(std::make_unique<Command>(p, std::move(fields)...));
  }
  RecordingCanvas& paint() {
    preparePicture(p);
    paintPicture(p, canvas);
    return canvas;
  }
  PictureState p;
  RecordingCanvas canvas{360, 368};
};

TEST_F(GraphicsCommands, LineSwitchesToTheSecondPenOnLargeJumps) {
  CLine::Style style;
  style.color = {255, 0, 0};
  style.width = 2;
  style.yBound = 3;
  style.color2 = {0, 0, 255};
  style.hasColor2 = true;
  // The vertex (1, 1) lies on a pixel corner: the pixel to its left has its
  // centre on the line from (0, 0).
  add<CLine>(style, std::vector<double>{0, 1, 2}, std::vector<double>{0, 1, 9});
  EXPECT_EQ(paint().starting("line"),
            (Calls{"line 20,344 51,312 255/0/0 w2", "line 51,312 84,56 0/0/255 w1"}));

  // Without a second colour the far segment is left out.
  PictureState& q = p;
  q.erase();
  canvas.calls.clear();
  auto view = std::make_unique<CSetView>(q, 0, 10, 0, 10);
  q.view = view.get();
  q.append(std::move(view));
  style.hasColor2 = false;
  add<CLine>(style, std::vector<double>{0, 1, 2}, std::vector<double>{0, 1, 9});
  EXPECT_EQ(paint().starting("line"), (Calls{"line 20,344 51,312 255/0/0 w2"}));
}

TEST_F(GraphicsCommands, InnerVertexMovesToTheNeighbourNearestTheLine) {
  CLine::Style style;
  // (0.49, 0.5) lies at pixel 35.68, 328: the pixel to its left keeps the
  // first segment, from pixel (20, 344), nearer to the true line.
  add<CLine>(style, std::vector<double>{0, 0.49, 5}, std::vector<double>{0, 0.5, 0.5});
  const Calls lines = paint().starting("line");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "line 20,344 35,328 0/0/0 w1");
}

TEST_F(GraphicsCommands, MarkedLinePointsAndVerticalLines) {
  add<CSqLine>(Rgb{0, 0, 0}, 1, Rgb{0, 255, 0}, 5, std::vector<double>{1, 2},
               std::vector<double>{1, 2});
  add<CPoints>(3, Rgb{255, 0, 0}, std::vector<double>{5}, std::vector<double>{5});
  add<CVLines>(std::vector<double>{3, 4}, std::vector<double>{2, -1}, 1, Rgb{0, 0, 255});
  add<CVLines>(std::vector<double>{6}, std::vector<double>{2}, 4, Rgb{0, 0, 255});
  paint();
  EXPECT_EQ(canvas.starting("rect"),
            (Calls{"rect 50,310-55,315 0/0/0 w1 fill 0/255/0",
                   "rect 82,278-87,283 0/0/0 w1 fill 0/255/0"}));
  EXPECT_EQ(canvas.starting("line"),
            (Calls{"line 52,312 84,280 0/0/0 w1", "line 116,344 116,280 0/0/255 w1",
                   "line 148,344 148,376 0/0/255 w1"}));
  const Calls fills = canvas.starting("fill");
  ASSERT_EQ(fills.size(), 3u);  // the ground, the point, the wide line
  EXPECT_EQ(fills[1], "fill 179,183-182,186 255/0/0");
  EXPECT_EQ(fills[2], "fill 210,280-214,344 0/0/255");
}

TEST_F(GraphicsCommands, StairsUseTheHPenThenThePenOfTheirPass) {
  add<CSetPen>(Rgb{255, 0, 0}, 2);
  add<CStairs>(std::vector<double>{1, 2, 4}, std::vector<double>{3, 1});
  add<CSetHPen>(Rgb{0, 0, 0}, 0);  // later in the list: not for these stairs
  EXPECT_EQ(paint().starting("line"),
            (Calls{"line 52,248 52,344 0/0/0 w1", "line 84,248 84,344 0/0/0 w1",
                   "line 84,312 84,344 0/0/0 w1", "line 148,312 148,344 0/0/0 w1",
                   "line 52,248 84,248 255/0/0 w2", "line 84,312 148,312 255/0/0 w2"}));

  // The next pass applies the list's state commands again in order: the
  // new stairs get the red pen, and the invisible h-pen draws no verticals.
  canvas.calls.clear();
  add<CStairs>(std::vector<double>{1, 2}, std::vector<double>{1});
  EXPECT_EQ(paint().starting("line").back(), "line 52,312 84,312 255/0/0 w2");
  EXPECT_EQ(canvas.starting("line").size(), 6u + 1u);
}

TEST_F(GraphicsCommands, HistogramBarsAreScaledByTheFactorAroundTheirCentre) {
  add<CHist>(std::vector<CHist::Bar>{{1, 3, 2}, {3, 5, -1}}, 0.5, Rgb{0, 255, 0}, 1);
  EXPECT_EQ(paint().starting("rect"),
            (Calls{"rect 68,280-101,345 0/0/0 w1 fill 0/255/0",
                   "rect 132,345-165,376 0/0/0 w1 fill 0/255/0"}));
  Box box;
  ASSERT_TRUE(p.commands().back()->extent(box));
  EXPECT_EQ(box.xmin, 1);
  EXPECT_EQ(box.xmax, 5);
  EXPECT_EQ(box.ymin, -1);
  EXPECT_EQ(box.ymax, 2);
}

TEST_F(GraphicsCommands, CapitalMarketLineRunsFromTheRiskFreeRate) {
  // One asset: every portfolio is the asset itself (deviation 2, mean 4).
  add<CCML>(Rgb{255, 0, 0}, Rgb{0, 0, 255}, 3, 1.0, std::vector<double>{4},
            std::vector<double>{4});
  paint();
  EXPECT_EQ(canvas.starting("pixel"),
            (Calls{"pixel 84,216 255/0/0", "pixel 84,216 255/0/0", "pixel 84,216 255/0/0"}));
  // Slope (4 − 1)/2 from (0, 1) to (40, 61).
  EXPECT_EQ(canvas.starting("line"),
            (Calls{"line 20,312 1300,-1608 0/0/255 w1"}));
  Box box;
  ASSERT_TRUE(p.commands().back()->extent(box));
  EXPECT_EQ(box.xmax, 2);
  EXPECT_EQ(box.ymin, 0);
  EXPECT_EQ(box.ymax, 4);
}

}  // namespace
}  // namespace tesmora::graphics
