#include "monitor/PieSlices.h"

#include <gtest/gtest.h>

#include "fakes/RecordingCanvas.h"

namespace zub {
namespace {

using fakes::CanvasOp;
using fakes::RecordingCanvas;

constexpr Rect kBox{4, 4, 96, 96};  // centre (50, 50)

std::vector<PieSlice> TwoSlices(int freePercent) {
  return {{static_cast<double>(freePercent), "Free", kRed},
          {static_cast<double>(100 - freePercent), "Used", kBlue}};
}

TEST(PieSlicesTest, NothingToShareDrawsNoPie) {
  RecordingCanvas canvas;
  DrawPieSlices(canvas, kBox, {});
  DrawPieSlices(canvas, kBox, {{0, "Free", kRed}, {0, "Used", kBlue}});
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(PieSlicesTest, AWholeSliceIsTheDiscAndAnEmptyOneDrawsNothing) {
  for (int percent : {100, 0}) {
    SCOPED_TRACE(percent);
    RecordingCanvas canvas;
    DrawPieSlices(canvas, kBox, TwoSlices(percent));
    ASSERT_EQ(canvas.ops.size(), 1u);
    EXPECT_EQ(canvas.ops[0].kind, CanvasOp::Kind::Ellipse);
    EXPECT_EQ(canvas.ops[0].args, (std::vector<int>{4, 4, 96, 96}));
    EXPECT_EQ(canvas.ops[0].brush, percent == 100 ? kRed : kBlue);
    EXPECT_EQ(canvas.ops[0].pen, kBlack);
  }
}

// Pie runs counter-clockwise from its first radial to its second, so a
// clockwise slice from twelve o'clock names its end first and its start last.
TEST(PieSlicesTest, FirstSliceRunsClockwiseFromTwelveOClock) {
  RecordingCanvas canvas;
  DrawPieSlices(canvas, kBox, TwoSlices(25));
  ASSERT_EQ(canvas.ops.size(), 2u);

  const CanvasOp& free = canvas.ops[0];
  EXPECT_EQ(free.kind, CanvasOp::Kind::Pie);
  EXPECT_EQ(free.brush, kRed);
  EXPECT_EQ((std::vector<int>(free.args.begin(), free.args.begin() + 4)),
            (std::vector<int>{4, 4, 96, 96}));
  // From three o'clock (right of the centre, level with it) ...
  EXPECT_GT(free.args[4], 50);
  EXPECT_EQ(free.args[5], 50);
  // ... back to twelve o'clock (straight above the centre).
  EXPECT_EQ(free.args[6], 50);
  EXPECT_LT(free.args[7], 50);

  const CanvasOp& used = canvas.ops[1];
  EXPECT_EQ(used.brush, kBlue);
  // The rest: from twelve o'clock back to three o'clock.
  EXPECT_EQ(used.args[4], free.args[6]);
  EXPECT_EQ(used.args[5], free.args[7]);
  EXPECT_EQ(used.args[6], free.args[4]);
  EXPECT_EQ(used.args[7], free.args[5]);
}

TEST(PieSlicesTest, SlicesKeepTheOrderTheyWereAddedIn) {
  RecordingCanvas canvas;
  DrawPieSlices(canvas, kBox, {{10, "a", kRed}, {50, "b", kGreen}, {40, "c", kBlue}});
  ASSERT_EQ(canvas.ops.size(), 3u);
  EXPECT_EQ(canvas.ops[0].brush, kRed);
  EXPECT_EQ(canvas.ops[1].brush, kGreen);
  EXPECT_EQ(canvas.ops[2].brush, kBlue);
  // The second slice runs from 10 % (36 degrees) to 60 % (216 degrees): it
  // starts right of twelve o'clock and ends left of six o'clock, below the centre.
  EXPECT_GT(canvas.ops[1].args[6], 50);
  EXPECT_LT(canvas.ops[1].args[4], 50);
  EXPECT_GT(canvas.ops[1].args[5], 50);
}

TEST(PieSlicesTest, TheCanvasKeepsItsColours) {
  RecordingCanvas canvas;
  canvas.SetPenColor(kYellow);
  canvas.SetBrushColor(kSilver);
  DrawPieSlices(canvas, kBox, TwoSlices(40));
  EXPECT_EQ(canvas.PenColor(), kYellow);
  EXPECT_EQ(canvas.BrushColor(), kSilver);
}

TEST(PieSlicesTest, ASliceTooThinToShowNeverFillsTheDisc) {
  RecordingCanvas canvas;
  DrawPieSlices(canvas, kBox, {{1e-9, "Free", kRed}, {100, "Used", kBlue}});
  for (const CanvasOp& op : canvas.ops) {
    EXPECT_NE(op.brush, kRed);
  }
}

}  // namespace
}  // namespace zub
