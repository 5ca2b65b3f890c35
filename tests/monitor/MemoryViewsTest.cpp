#include "monitor/MemoryViews.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "monitor/FreeRes.h"

namespace zub {
namespace {

constexpr std::int64_t kGb = 1024LL * 1024 * 1024;

class MemoryViewsTest : public ::testing::Test {
 protected:
  MemoryViewsTest() {
    MemoryStatus s;
    s.memoryLoad = 31;
    s.totalPhys = 16 * kGb;
    s.availPhys = 11 * kGb;
    s.totalPageFile = 2 * kGb;
    s.availPageFile = kGb + 512 * 1024 * 1024;
    s.totalVirtual = 128LL * 1024 * kGb;
    s.availVirtual = s.totalVirtual - 3 * kGb;
    memory.status = s;
  }

  fakes::FakeMemorySource memory;
  fakes::FakeResourceSource resources;
  MemoryMeter meter{memory, resources};
};

TEST_F(MemoryViewsTest, TotalGivesFreeShareTextAndTitle) {
  const auto m = meter.Measure(MemoryView::Total);
  EXPECT_EQ(m.freePercent, 69);
  EXPECT_EQ(m.text, "Free Total Memory is 69 %");
  EXPECT_EQ(m.panelFontSize, 12);
  ASSERT_TRUE(m.applicationTitle.has_value());
  EXPECT_EQ(*m.applicationTitle, "Free Memory 69 %");
  EXPECT_FALSE(meter.Measure(MemoryView::Real).applicationTitle.has_value());
}

TEST_F(MemoryViewsTest, SizeViewsShowWholeFiguresWithoutLosingDigits) {
  // 16 GB is 16777216 Kb: every digit stays.
  const auto real = meter.Measure(MemoryView::Real);
  EXPECT_EQ(real.text, "5242880/11534336/16777216Kb Used/free/total");
  EXPECT_EQ(real.freePercent, 69);  // 68.75 rounds up
  EXPECT_EQ(real.panelFontSize, 11);

  const auto page = meter.Measure(MemoryView::PageFile);
  EXPECT_EQ(page.text, "512/1536/2048Mb Used/free/total");
  EXPECT_EQ(page.freePercent, 75);

  const auto virt = meter.Measure(MemoryView::Virtual);
  EXPECT_EQ(virt.text, "3072/134214656/134217728Mb Used/free/total");
  EXPECT_EQ(virt.freePercent, 100);
}

TEST_F(MemoryViewsTest, FractionalFiguresAreTruncatedNotRounded) {
  memory.status->totalPhys = 1023 * 1024 + 1000;  // 1023.98 Kb
  memory.status->availPhys = 1000 * 1024 + 900;   // 1000.88 Kb
  EXPECT_EQ(meter.Measure(MemoryView::Real).text, "23/1000/1023Kb Used/free/total");
}

TEST_F(MemoryViewsTest, HalfPercentSharesGoToTheEvenNeighbour) {
  memory.status->totalPageFile = 1000;
  memory.status->availPageFile = 125;  // 12.5 %
  EXPECT_EQ(meter.Measure(MemoryView::PageFile).freePercent, 12);
  memory.status->availPageFile = 135;  // 13.5 %
  EXPECT_EQ(meter.Measure(MemoryView::PageFile).freePercent, 14);
}

TEST_F(MemoryViewsTest, NoSwapShowsZeroRatherThanDividingByZero) {
  memory.status->totalPageFile = 0;
  memory.status->availPageFile = 0;
  const auto page = meter.Measure(MemoryView::PageFile);
  EXPECT_EQ(page.freePercent, 0);
  EXPECT_EQ(page.text, "0/0/0Mb Used/free/total");
  EXPECT_TRUE(page.empty) << "a 0 % pie would read as all swap used";
}

TEST_F(MemoryViewsTest, OnlyAViewWithNothingInItIsEmpty) {
  memory.status->availPageFile = 0;  // swap there and all used: a full Used slice
  EXPECT_FALSE(meter.Measure(MemoryView::PageFile).empty);
  memory.status->totalPageFile = -1;  // a nonsense total counts as none
  EXPECT_TRUE(meter.Measure(MemoryView::PageFile).empty);
  for (const MemoryView view :
       {MemoryView::Total, MemoryView::Virtual, MemoryView::Real, MemoryView::Gdi}) {
    EXPECT_FALSE(meter.Measure(view).empty) << MemoryViewCaption(view);
  }
}

TEST_F(MemoryViewsTest, ResourceViewsAndTheirErrors) {
  EXPECT_EQ(meter.Measure(MemoryView::Gdi).text, "Free GDI Resources 84%");
  EXPECT_EQ(meter.Measure(MemoryView::System).text, "Free System Resources 80%");
  EXPECT_EQ(meter.Measure(MemoryView::User).freePercent, 80);

  resources.readings[1] = {ResourceReading::Status::TableUnavailable, 0};
  EXPECT_THROW(
      {
        try {
          meter.Measure(MemoryView::Gdi);
        } catch (const ResourceError& e) {
          EXPECT_STREQ(e.what(), "Cannot load USER.EXE");
          throw;
        }
      },
      ResourceError);
  resources.readings[2] = {ResourceReading::Status::CountUnavailable, 0};
  try {
    meter.Measure(MemoryView::User);
    FAIL() << "no error";
  } catch (const ResourceError& e) {
    EXPECT_STREQ(e.what(), "Cannot get address of GetFreeSystemResources");
  }
}

TEST_F(MemoryViewsTest, TitleSummaryReadsLoadThenSystemGdiUser) {
  EXPECT_EQ(meter.TitleSummary(), "31% 80% 84% 80% Total System GDI User");
  resources.readings[0] = {ResourceReading::Status::TableUnavailable, 0};
  EXPECT_THROW(meter.TitleSummary(), ResourceError);
}

TEST_F(MemoryViewsTest, UnreadableMemoryIsAnErrorNotZeros) {
  memory.status.reset();
  EXPECT_THROW(meter.Measure(MemoryView::Total), MemoryStatusError);
  EXPECT_THROW(meter.TitleSummary(), MemoryStatusError);
  // Resource views do not need the memory figures.
  EXPECT_EQ(meter.Measure(MemoryView::Gdi).freePercent, 84);
}

TEST(MemoryViewCaptionTest, MenuCaptions) {
  EXPECT_EQ(MemoryViewCaption(MemoryView::PageFile), "Page File");
  EXPECT_EQ(MemoryViewCaption(MemoryView::Gdi), "GDI");
}

}  // namespace
}  // namespace zub
