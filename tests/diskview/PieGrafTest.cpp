#include "diskview/PieGraf.h"

#include <gtest/gtest.h>

#include "fakes/RecordingCanvas.h"

namespace zub {
namespace {

using fakes::CanvasOp;
using fakes::RecordingCanvas;
using Kind = CanvasOp::Kind;

// Records what the control drew over its surface and how often it asked for
// a full repaint.
class RecordingSurface : public PieSurface {
 public:
  RecordingCanvas canvas;
  int drawOvers = 0;
  int repaints = 0;

  void DrawOver(const std::function<void(Canvas&)>& draw) override {
    ++drawOvers;
    draw(canvas);
  }
  void Repaint() override { ++repaints; }
};

std::vector<CanvasOp> Draw(const TPieGraf& graf) {
  RecordingCanvas canvas;
  graf.DrawPie(canvas);
  return canvas.ops;
}

TPieGraf Pie60(int percent, const std::string& caption = "Drive C") {
  TPieGraf graf;
  graf.SetSize(60, 60);
  graf.SetPercent(percent);
  graf.SetCaption(caption);
  return graf;
}

TEST(PieGraf, StartsWithThePublishedDefaults) {
  const TPieGraf graf;
  EXPECT_EQ(graf.MainColor(), 0x008000u);
  EXPECT_EQ(graf.SliceColor(), 0x0000FFu);
  EXPECT_EQ(graf.EdgeColor(), 0x000000u);
  EXPECT_TRUE(graf.ShowText());
  EXPECT_EQ(graf.Percent(), 0);
  EXPECT_EQ(graf.Caption(), "");
  EXPECT_EQ(graf.GetFont().name, "Ariel");
  EXPECT_EQ(graf.GetFont().color, kWhite);
  EXPECT_EQ(graf.GetFont().PixelHeight(), 11);
  EXPECT_EQ(graf.Width(), 100);
  EXPECT_EQ(graf.Height(), 100);
}

TEST(PieGraf, QuarterOnSixtyPixelsIsTwelveToThreeInMainColour) {
  const auto ops = Draw(Pie60(25));
  ASSERT_EQ(ops.size(), 4u);

  // The main wedge runs counter-clockwise from Pp (three o'clock) to Pt (twelve).
  EXPECT_EQ(ops[0].kind, Kind::Pie);
  EXPECT_EQ(ops[0].args, (std::vector<int>{4, 4, 56, 56, 85, 29, 29, -26}));
  EXPECT_EQ(ops[0].brush, kGreen);
  EXPECT_EQ(ops[0].pen, kBlack);

  EXPECT_EQ(ops[1].kind, Kind::Pie);
  EXPECT_EQ(ops[1].args, (std::vector<int>{4, 4, 56, 56, 29, -26, 85, 29}));
  EXPECT_EQ(ops[1].brush, kRed);
  EXPECT_EQ(ops[1].pen, kBlack);

  // "AA" is 14 pixels wide on the recording canvas: 28 - 7.
  EXPECT_EQ(ops[2].kind, Kind::TextOut);
  EXPECT_EQ(ops[2].text, "25%");
  EXPECT_EQ(ops[2].args, (std::vector<int>{21, 42}));
  EXPECT_EQ(ops[2].brush, kGreen);
  EXPECT_EQ(ops[2].font.name, "Ariel");

  EXPECT_EQ(ops[3].kind, Kind::TextOut);
  EXPECT_EQ(ops[3].text, "Drive C");
  EXPECT_EQ(ops[3].args, (std::vector<int>{15, 27}));
  EXPECT_EQ(ops[3].brush, kGreen);
}

TEST(PieGraf, SlicePointTurnsClockwiseWithPercent) {
  struct Row {
    int size;
    int percent;
    int px;
    int py;
    int tx;
    int ty;
  };
  const Row rows[] = {
      {60, 12, 67, -12, 29, -26}, {60, 50, 29, 85, 29, -26},    {60, 75, -27, 29, 29, -26},
      {60, 87, -12, -9, 29, -26}, {100, 12, 115, -21, 49, -46}, {100, 87, -21, -17, 49, -46},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.size) + " px at " + std::to_string(row.percent) + "%");
    TPieGraf graf;
    graf.SetSize(row.size, row.size);
    graf.SetPercent(row.percent);
    const auto ops = Draw(graf);
    ASSERT_GE(ops.size(), 2u);
    const int inner = row.size - 4;
    EXPECT_EQ(ops[0].args, (std::vector<int>{4, 4, inner, inner, row.px, row.py, row.tx, row.ty}));
    EXPECT_EQ(ops[1].args, (std::vector<int>{4, 4, inner, inner, row.tx, row.ty, row.px, row.py}));
  }
}

TEST(PieGraf, ZeroPercentIsAWholeSliceDiscWithTextOnSliceColour) {
  const auto ops = Draw(Pie60(0));
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[0].kind, Kind::Pie);  // the hairline wedge, covered next
  EXPECT_EQ(ops[0].args, (std::vector<int>{4, 4, 56, 56, 29, -27, 29, -26}));
  EXPECT_EQ(ops[1].kind, Kind::Ellipse);
  EXPECT_EQ(ops[1].args, (std::vector<int>{4, 4, 56, 56}));
  EXPECT_EQ(ops[1].brush, kRed);
  EXPECT_EQ(ops[2].text, "0%");
  EXPECT_EQ(ops[2].brush, kRed);
  EXPECT_EQ(ops[3].brush, kRed);
}

TEST(PieGraf, HundredPercentIsAWholeMainDisc) {
  const auto ops = Draw(Pie60(100));
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].kind, Kind::Ellipse);
  EXPECT_EQ(ops[0].args, (std::vector<int>{4, 4, 56, 56}));
  EXPECT_EQ(ops[0].brush, kGreen);
  EXPECT_EQ(ops[1].text, "100%");
  EXPECT_EQ(ops[1].brush, kGreen);
  EXPECT_EQ(ops[2].text, "Drive C");
}

TEST(PieGraf, CaptionIsPlacedByItsCharacterCount) {
  struct Row {
    std::string caption;
    int x;
  };
  // mx = 28: x = 28 - (n + n div 2 + 3); characters, not bytes.
  const Row rows[] = {{"", 25}, {"D", 24}, {"Drive Z", 15}, {"Disque É", 13}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.caption);
    const auto ops = Draw(Pie60(40, row.caption));
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[3].args, (std::vector<int>{row.x, 27}));
    EXPECT_EQ(ops[3].text, row.caption);
  }
}

TEST(PieGraf, WithoutTextDrawsTheDiscOnly) {
  TPieGraf graf = Pie60(40);
  graf.SetShowText(false);
  const auto ops = Draw(graf);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].kind, Kind::Pie);
  EXPECT_EQ(ops[1].kind, Kind::Pie);
}

TEST(PieGraf, RestoresTheCanvasColoursItFound) {
  RecordingCanvas canvas;
  canvas.SetBrushColor(kYellow);
  canvas.SetPenColor(kPurple);
  for (int percent : {0, 40, 100}) {
    Pie60(percent).DrawPie(canvas);
    EXPECT_EQ(canvas.BrushColor(), kYellow);
    EXPECT_EQ(canvas.PenColor(), kPurple);
  }
}

TEST(PieGraf, ChangedPropertyDrawsOverWithoutRepaint) {
  TPieGraf graf;
  RecordingSurface surface;
  graf.AttachSurface(&surface);

  graf.SetMainColor(kBlue);
  graf.SetSliceColor(kYellow);
  graf.SetEdgeColor(kWhite);
  graf.SetPercent(30);
  graf.SetShowText(false);
  EXPECT_EQ(surface.drawOvers, 5);
  EXPECT_EQ(surface.repaints, 0);

  // The last draw-over shows every new value.
  ASSERT_FALSE(surface.canvas.ops.empty());
  const CanvasOp& last = surface.canvas.ops.back();
  EXPECT_EQ(last.kind, Kind::Pie);
  EXPECT_EQ(last.brush, kYellow);
  EXPECT_EQ(last.pen, kWhite);
}

TEST(PieGraf, UnchangedPropertyDrawsNothing) {
  TPieGraf graf;
  RecordingSurface surface;
  graf.AttachSurface(&surface);
  graf.SetMainColor(graf.MainColor());
  graf.SetSliceColor(graf.SliceColor());
  graf.SetEdgeColor(graf.EdgeColor());
  graf.SetShowText(graf.ShowText());
  graf.SetPercent(graf.Percent());
  EXPECT_EQ(surface.drawOvers, 0);
  EXPECT_EQ(surface.repaints, 0);
  EXPECT_TRUE(surface.canvas.ops.empty());
}

TEST(PieGraf, CaptionAndFontAlwaysRepaintFully) {
  TPieGraf graf;
  RecordingSurface surface;
  graf.AttachSurface(&surface);
  graf.SetCaption("Drive C");
  graf.SetCaption("Drive C");
  EXPECT_EQ(graf.Caption(), "Drive C");
  EXPECT_EQ(surface.repaints, 2);
  graf.SetFont(Font{"Courier", 12, kBlack});
  EXPECT_EQ(surface.repaints, 3);
  EXPECT_EQ(surface.drawOvers, 0);
}

TEST(PieGraf, PercentOutsideTheRangeIsHeldAtTheNearerEnd) {
  TPieGraf graf;
  graf.SetPercent(250);
  EXPECT_EQ(graf.Percent(), 100);
  graf.SetPercent(-3);
  EXPECT_EQ(graf.Percent(), 0);
}

}  // namespace
}  // namespace zub
