#include "app/OnlyOne.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/FakePlatform.h"

namespace zub {
namespace {

class OnlyOneTest : public ::testing::Test {
 protected:
  std::map<std::string, fakes::FakeInstanceMarker*> desktop;
};

TEST_F(OnlyOneTest, TheFirstCopyHoldsTheMarkerUntilItEnds) {
  Application app;
  app.SetTitle(kStartupTitle);
  fakes::FakeInstanceMarker marker(desktop);
  {
    const TOnlyOne guard(app, marker);
    EXPECT_EQ(guard.AtomName(), "OnlyOneZub 97 for Windows 9");
    EXPECT_FALSE(app.Terminated());
    EXPECT_EQ(desktop.count("OnlyOneZub 97 for Windows 9"), 1u);
    // The title changes later; the marker keeps the name it was made with.
    app.SetTitle("Free Memory 40 %");
  }
  EXPECT_TRUE(desktop.empty());
}

TEST_F(OnlyOneTest, ASecondCopyAsksTheFirstToRaiseItsStartupTitleAndEnds) {
  Application first;
  first.SetTitle(kStartupTitle);
  fakes::FakeInstanceMarker firstMarker(desktop);
  std::vector<std::string> raised;
  firstMarker.OnRaiseRequest([&](const std::string& title) { raised.push_back(title); });
  const TOnlyOne firstGuard(first, firstMarker);

  Application second;
  second.SetTitle(kStartupTitle);
  fakes::FakeInstanceMarker secondMarker(desktop);
  {
    const TOnlyOne secondGuard(second, secondMarker);
    EXPECT_TRUE(second.Terminated());
    EXPECT_EQ(second.Title(), "destroy me");
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], kStartupTitle);
  }
  // The second copy's end does not take the first copy's marker with it.
  EXPECT_EQ(desktop.count("OnlyOneZub 97 for Windows 9"), 1u);
  EXPECT_FALSE(first.Terminated());
}

TEST_F(OnlyOneTest, TitlesAgreeingInTheirFirstTwentyCharactersAreTheSameProgram) {
  Application first;
  first.SetTitle("Zub 97 for Windows 95 - first");
  fakes::FakeInstanceMarker a(desktop);
  const TOnlyOne guardA(first, a);

  Application other;
  other.SetTitle("Zub 97 for Windows 9X other");
  fakes::FakeInstanceMarker b(desktop);
  const TOnlyOne guardB(other, b);
  EXPECT_TRUE(other.Terminated());
  // The window name asked for is at most 30 characters of the title.
  ASSERT_EQ(b.raiseRequestsSent.size(), 1u);
  EXPECT_EQ(b.raiseRequestsSent[0].second, "Zub 97 for Windows 9X other");

  Application different;
  different.SetTitle("Another program title");
  fakes::FakeInstanceMarker c(desktop);
  const TOnlyOne guardC(different, c);
  EXPECT_FALSE(different.Terminated());
}

TEST(ApplicationTest, TitleListenersHearEveryChange) {
  Application app;
  std::vector<std::string> heard;
  app.OnTitleChanged([&](const std::string& t) { heard.push_back(t); });
  app.SetTitle("a");
  app.SetTitle("b");
  EXPECT_EQ(heard, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace zub
