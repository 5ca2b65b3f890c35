#include "game/Dice.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/RecordingCanvas.h"

namespace zub {
namespace {

using fakes::CanvasOp;
using fakes::RecordingCanvas;

using Box = std::vector<int>;

// The pip boxes of each face in drawing order, in units of the scale.
const std::vector<std::vector<Box>> kExpectedPips = {
    {},
    {{6, 6, 9, 9}},
    {{2, 2, 5, 5}, {10, 10, 13, 13}},
    {{6, 6, 9, 9}, {2, 2, 5, 5}, {10, 10, 13, 13}},
    {{2, 2, 5, 5}, {10, 10, 13, 13}, {2, 10, 5, 13}, {10, 2, 13, 5}},
    {{2, 2, 5, 5}, {10, 10, 13, 13}, {2, 10, 5, 13}, {10, 2, 13, 5}, {6, 6, 9, 9}},
    {{2, 2, 5, 5}, {10, 10, 13, 13}, {2, 10, 5, 13}, {10, 2, 13, 5}, {2, 6, 5, 9}, {10, 6, 13, 9}},
};

// The bitmap's operations of the one paint on `surface`.
const std::vector<CanvasOp>& BitmapOps(const RecordingCanvas& surface) {
  EXPECT_EQ(surface.copiedBitmapOps.size(), 1u);
  return surface.copiedBitmapOps.front();
}

std::vector<Box> Pips(const std::vector<CanvasOp>& ops) {
  std::vector<Box> pips;
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Kind::Ellipse) {
      EXPECT_EQ(op.brush, kBlack);
      EXPECT_EQ(op.pen, kBlack);
      pips.push_back(op.args);
    }
  }
  return pips;
}

TEST(DiceTest, DefaultDieIsThirtyPixelsWithOneCentrePip) {
  const TDice dice;
  EXPECT_EQ(dice.Value(), 1);
  EXPECT_EQ(dice.DiceSize(), 2);
  EXPECT_EQ(dice.BackColor(), kSilver);
  EXPECT_EQ(dice.DiceColor(), kWhite);
  EXPECT_EQ(dice.Width(), 30);
  EXPECT_EQ(dice.Height(), 30);

  RecordingCanvas surface;
  dice.Paint(surface);

  ASSERT_EQ(surface.bitmaps.size(), 1u);
  ASSERT_EQ(surface.ops.size(), 1u);
  EXPECT_EQ(surface.ops[0].kind, CanvasOp::Kind::CopyRect);
  EXPECT_EQ(surface.ops[0].args, (std::vector<int>{0, 0, 30, 30, 0, 0, 30, 30}));

  const auto& ops = BitmapOps(surface);
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].kind, CanvasOp::Kind::Rectangle);
  EXPECT_EQ(ops[0].args, (Box{0, 0, 30, 30}));
  EXPECT_EQ(ops[0].pen, kSilver);
  EXPECT_EQ(ops[0].brush, kSilver);
  EXPECT_EQ(ops[1].kind, CanvasOp::Kind::RoundRect);
  EXPECT_EQ(ops[1].args, (std::vector<int>{0, 0, 30, 30, 6, 6}));
  EXPECT_EQ(ops[1].pen, kBlack);
  EXPECT_EQ(ops[1].brush, kWhite);
  EXPECT_EQ(Pips(ops), (std::vector<Box>{{12, 12, 18, 18}}));
}

TEST(DiceTest, EveryFaceDrawsItsPipsInOrderAtEachScale) {
  for (const int scale : {1, 3}) {
    for (int value = 0; value <= 6; ++value) {
      SCOPED_TRACE("scale " + std::to_string(scale) + " value " + std::to_string(value));
      TDice dice;
      dice.SetDiceSize(scale);
      dice.SetValue(value);
      dice.FitToScale();

      RecordingCanvas surface;
      dice.Paint(surface);

      const int side = 15 * scale;
      ASSERT_EQ(surface.bitmaps.size(), 1u);
      EXPECT_EQ(surface.bitmaps[0].width, side);
      EXPECT_EQ(surface.bitmaps[0].height, side);
      EXPECT_EQ(surface.ops.back().args, (std::vector<int>{0, 0, side, side, 0, 0, side, side}));

      const auto& ops = BitmapOps(surface);
      ASSERT_GE(ops.size(), 2u);
      EXPECT_EQ(ops[1].args, (std::vector<int>{0, 0, side, side, 3 * scale, 3 * scale}));
      std::vector<Box> expected;
      for (const Box& box : kExpectedPips[value]) {
        expected.push_back({box[0] * scale, box[1] * scale, box[2] * scale, box[3] * scale});
      }
      EXPECT_EQ(Pips(ops), expected);
      EXPECT_EQ(ops.size(), 2 + expected.size());
    }
  }
}

TEST(DiceTest, ValueAndSizeArePulledIntoRange) {
  TDice dice;
  dice.SetValue(9);
  EXPECT_EQ(dice.Value(), 6);
  dice.SetValue(7);
  EXPECT_EQ(dice.Value(), 6);
  dice.SetValue(-3);
  EXPECT_EQ(dice.Value(), 0);

  dice.SetDiceSize(7);
  EXPECT_EQ(dice.DiceSize(), 6);
  EXPECT_TRUE(dice.FitToScale());
  EXPECT_EQ(dice.Width(), 90);
  EXPECT_EQ(dice.Height(), 90);

  dice.SetDiceSize(0);
  EXPECT_EQ(dice.DiceSize(), 1);
  dice.SetDiceSize(-5);
  EXPECT_EQ(dice.DiceSize(), 1);
  dice.FitToScale();
  EXPECT_EQ(dice.Width(), 15);

  RecordingCanvas surface;
  dice.Paint(surface);
  EXPECT_TRUE(Pips(BitmapOps(surface)).empty()) << "a value below 0 is a blank face";
}

// Each setter paints once per call, after storing, even with the value it
// already holds.
TEST(DiceTest, EverySetterPaintsTheNewStateAtOnce) {
  TDice dice;
  RecordingCanvas surface;
  int paints = 0;
  dice.SetPaintNow([&] {
    ++paints;
    dice.Paint(surface);
  });

  dice.SetValue(1);
  EXPECT_EQ(paints, 1) << "unchanged value";
  dice.SetDiceSize(2);
  EXPECT_EQ(paints, 2) << "unchanged size";
  dice.SetBackColor(kSilver);
  EXPECT_EQ(paints, 3) << "unchanged back colour";
  dice.SetDiceColor(kWhite);
  EXPECT_EQ(paints, 4) << "unchanged face colour";

  dice.SetValue(5);
  EXPECT_EQ(paints, 5);
  EXPECT_EQ(Pips(surface.copiedBitmapOps.back()).size(), 5u);

  dice.SetBackColor(kRed);
  dice.SetDiceColor(kBlue);
  EXPECT_EQ(paints, 7);
  const auto& ops = surface.copiedBitmapOps.back();
  EXPECT_EQ(ops[0].brush, kRed);
  EXPECT_EQ(ops[0].pen, kRed);
  EXPECT_EQ(ops[1].brush, kBlue);
  EXPECT_EQ(ops[1].pen, kBlack);
}

// A new scale is drawn at once within the old bounds; only the paint pass
// after it gives the control its new size.
TEST(DiceTest, NewSizePaintsInOldBoundsThenFits) {
  TDice dice;
  RecordingCanvas surface;
  dice.SetPaintNow([&] { dice.Paint(surface); });

  dice.SetDiceSize(3);
  EXPECT_EQ(dice.Width(), 30);
  ASSERT_EQ(surface.bitmaps.size(), 1u);
  EXPECT_EQ(surface.bitmaps[0].width, 45);
  const auto& ops = surface.copiedBitmapOps.back();
  EXPECT_EQ(ops[0].args, (Box{0, 0, 30, 30}));
  EXPECT_EQ(ops[1].args, (std::vector<int>{0, 0, 30, 30, 9, 9}));
  EXPECT_EQ(Pips(ops), (std::vector<Box>{{18, 18, 27, 27}}));
  EXPECT_EQ(surface.ops.back().args, (std::vector<int>{0, 0, 45, 45, 0, 0, 45, 45}));

  EXPECT_TRUE(dice.FitToScale());
  EXPECT_EQ(dice.Width(), 45);
  EXPECT_EQ(dice.Height(), 45);
  EXPECT_FALSE(dice.FitToScale()) << "a die of the right size needs no further paint";

  dice.SetBounds(20, 50);
  EXPECT_TRUE(dice.FitToScale());
  EXPECT_EQ(dice.Height(), 45);
}

}  // namespace
}  // namespace zub
