#include "diskview/TfmAlldisk.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "diskview/AllDisks.h"
#include "diskview/PieGrafWidget.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;

class TfmAlldiskTest : public ::testing::Test {
 protected:
  // Drives C: onwards, the n-th with n MB free of 100 MB.
  void SetDrives(int count) { fakes::SetCountedDrives(table, space, count); }

  QAction* Action(const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
      if (action->text().remove(QChar('&')) == text) {
        return action;
      }
    }
    return nullptr;
  }

  std::vector<int> ShownPies() const {
    std::vector<int> shown;
    for (int n = 1; n <= 24; ++n) {
      if (!window.PieGraf(n)->isHidden()) {
        shown.push_back(n);
      }
    }
    return shown;
  }

  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  MonitorSettings settings;
  fakes::ScriptedPrompts prompts;
  TfmAlldisk window{settings, table, space, prompts};
};

TEST_F(TfmAlldiskTest, OnePiePerDriveInOrderAndHeightByRows) {
  const std::pair<int, int> rows[] = {{1, 130},  {6, 130},  {7, 268},  {13, 268},
                                      {17, 268}, {18, 355}, {19, 371}, {24, 371}};
  for (const auto& [count, height] : rows) {
    SCOPED_TRACE(std::to_string(count) + " drives");
    SetDrives(count);
    window.FormActivate();

    std::vector<int> expected;
    for (int n = 1; n <= count; ++n) {
      expected.push_back(n);
    }
    EXPECT_EQ(ShownPies(), expected);
    EXPECT_EQ(window.OuterHeight(), height);
    // Offscreen windows have no frame: the outer height is the window's own.
    EXPECT_EQ(window.height(), height);
    EXPECT_EQ(window.width(), 438);

    for (int n = 1; n <= count; ++n) {
      const PieGrafWidget* pie = window.PieGraf(n);
      const char letter = static_cast<char>('C' + n - 1);
      EXPECT_EQ(pie->Graf().Caption(), std::string("Drive ") + letter);
      EXPECT_EQ(pie->Graf().Percent(), n);
      EXPECT_EQ(pie->toolTip().toStdString(),
                std::to_string(n) + " Free Mb / 100 Mb Total Type is Hard drive");
      const PiePlace place = AllDisksPiePlace(n);
      EXPECT_EQ(pie->geometry(), QRect(place.left, place.top, 60, 60));
    }
  }
}

TEST_F(TfmAlldiskTest, ThirteenthDriveStandsAtTheRightOfRowThree) {
  SetDrives(13);
  window.FormActivate();
  const PieGrafWidget* pie = window.PieGraf(13);
  EXPECT_FALSE(pie->isHidden());
  EXPECT_EQ(pie->Graf().Caption(), "Drive O");
  EXPECT_EQ(pie->geometry().topLeft(), QPoint(344, 152));
  EXPECT_TRUE(window.PieGraf(18)->isHidden());
}

TEST_F(TfmAlldiskTest, CaptionTotalsTheShownDrives) {
  SetDrives(2);  // 1 + 2 MB free of 200 MB
  table.Add("/mnt/nomedium", DriveKind::CdRom);
  window.FormActivate();
  EXPECT_EQ(window.windowTitle().toStdString(), "3Mb /197Mb /200 Mb free/used/total");
}

TEST_F(TfmAlldiskTest, FailedFreeQueryShowsNotFoundAndZeroPercent) {
  SetDrives(1);
  table.Add("/mnt/cd", DriveKind::CdRom);
  space.Set("/mnt/cd", -1, 600 * kMb);
  window.FormActivate();
  ASSERT_FALSE(window.PieGraf(2)->isHidden());
  EXPECT_EQ(window.PieGraf(2)->toolTip().toStdString(), "Not found Drive D Type is CD Rom drive");
  EXPECT_EQ(window.PieGraf(2)->Graf().Percent(), 0);
}

TEST_F(TfmAlldiskTest, ReopeningFollowsDrivesThatCameAndWent) {
  SetDrives(13);
  window.FormActivate();
  SetDrives(2);
  window.FormActivate();
  EXPECT_EQ(ShownPies(), (std::vector<int>{1, 2}));
  EXPECT_EQ(window.height(), 130);
  // Back to the design height, or rows three and four would be cut off.
  SetDrives(20);
  window.FormActivate();
  EXPECT_EQ(ShownPies().size(), 20u);
  EXPECT_EQ(window.height(), 371);
}

TEST_F(TfmAlldiskTest, RememberedColoursReachEveryPieOnActivation) {
  settings.AllColor = 0x123456;
  settings.AllSlice = 0x654321;
  SetDrives(3);
  window.FormActivate();
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(window.PieGraf(n)->Graf().MainColor(), 0x123456u);
    EXPECT_EQ(window.PieGraf(n)->Graf().SliceColor(), 0x654321u);
  }
}

TEST_F(TfmAlldiskTest, ChosenColoursGoToEveryPieAndTheSettings) {
  SetDrives(2);
  window.FormActivate();
  prompts.colors = {kYellow, kPurple};
  Action("Free Space")->trigger();
  Action("Used Space")->trigger();
  // One dialog for both entries: black at first, then the last choice.
  EXPECT_EQ(prompts.colorDialogInitials, (std::vector<ColorRef>{kBlack, kYellow}));
  EXPECT_EQ(settings.AllColor, static_cast<std::int32_t>(kYellow));
  EXPECT_EQ(settings.AllSlice, static_cast<std::int32_t>(kPurple));
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(window.PieGraf(n)->Graf().MainColor(), kYellow);
    EXPECT_EQ(window.PieGraf(n)->Graf().SliceColor(), kPurple);
  }
  // The used colour is painted at once (drive C: is 1 % free).
  EXPECT_EQ(FromQColor(window.PieGraf(1)->Surface().pixelColor(20, 18)), kPurple);
}

TEST_F(TfmAlldiskTest, CancelledColourDialogChangesNothing) {
  SetDrives(2);
  window.FormActivate();
  const MonitorSettings before = settings;
  prompts.colors = {std::nullopt, std::nullopt};
  window.FreeSpace1Click();
  window.UsedSpace1Click();
  EXPECT_EQ(prompts.colorDialogInitials.size(), 2u);
  EXPECT_EQ(settings, before);
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(window.PieGraf(n)->Graf().MainColor(), static_cast<ColorRef>(before.AllColor));
    EXPECT_EQ(window.PieGraf(n)->Graf().SliceColor(), static_cast<ColorRef>(before.AllSlice));
  }
}

TEST_F(TfmAlldiskTest, ChosenFontReachesAllPiesAndOutlivesAReopening) {
  SetDrives(3);
  window.FormActivate();
  const Font chosen{"DejaVu Serif", 10, kYellow, true};
  prompts.fonts = {chosen, std::nullopt};
  Action("Text Font")->trigger();
  EXPECT_EQ(prompts.fontDialogInitials.at(0), Font{});  // MS Sans Serif, 8 pt, black
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(window.PieGraf(n)->Graf().GetFont(), chosen);
  }

  SetDrives(5);
  window.FormActivate();
  window.TextFont1Click();  // cancelled: keeps the font, reopens on it
  EXPECT_EQ(prompts.fontDialogInitials.at(1), chosen);
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(window.PieGraf(n)->Graf().GetFont(), chosen);
  }
  EXPECT_EQ(settings, MonitorSettings{});  // the font is remembered nowhere
}

TEST_F(TfmAlldiskTest, BeingShownIsAnActivation) {
  SetDrives(7);
  EXPECT_EQ(window.windowTitle(), "Zub All Disk");
  window.show();
  window.activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(window.windowTitle().toStdString(), "28Mb /672Mb /700 Mb free/used/total");
  EXPECT_EQ(ShownPies().size(), 7u);
  EXPECT_TRUE(prompts.messages.empty());
  window.hide();
}

TEST_F(TfmAlldiskTest, DriveCaptionsShowWholeInTheirPies) {
  // With a face wider than the one the pies were laid out for, "Drive C"
  // ran over the disc's outline and lost its last letter.
  const TPieGraf& graf = window.PieGraf(1)->Graf();
  QtCanvas canvas(kAllDisksPieSize, kAllDisksPieSize);
  canvas.SetFont(graf.GetFont());
  const double centre = kAllDisksPieSize / 2.0;
  const double radius = (kAllDisksPieSize - 8) / 2.0;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    const std::string caption = std::string("Drive ") + letter;
    const int n = static_cast<int>(caption.size());
    const int left = (kAllDisksPieSize - 4) / 2 - (n + n / 2 + 3);
    const int top = (kAllDisksPieSize - 4) / 2 - 1;
    const int bottom = top + canvas.TextHeight(caption) - 1;
    // Where the outline crosses the caption's row farthest from the centre.
    const double rise = std::max(std::abs(top - centre), std::abs(bottom - centre));
    const double inside = centre + std::sqrt(radius * radius - rise * rise);
    EXPECT_LE(left + canvas.TextWidth(caption), inside) << caption;
  }
}

TEST_F(TfmAlldiskTest, AKeyboardUserReachesEveryEntryAndEveryPie) {
  SetDrives(3);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_EQ(QApplication::focusWidget(), window.PieGraf(1));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window.PieGraf(2)) << "Tab walks the drives in order";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window.PieGraf(1)) << "hidden pies are passed over";

  // Alt+C, then each entry by its letter; F10 opens the menu too.
  prompts.colors = {0x111111, 0x222222};
  prompts.fonts = {Font{"DejaVu Serif", 10, kWhite}};
  const struct {
    Qt::Key open;
    Qt::KeyboardModifier modifier;
    Qt::Key entry;
  } walks[] = {{Qt::Key_C, Qt::AltModifier, Qt::Key_F},
               {Qt::Key_F10, Qt::NoModifier, Qt::Key_U},
               {Qt::Key_C, Qt::AltModifier, Qt::Key_T}};
  for (const auto& walk : walks) {
    QTest::keyClick(QApplication::focusWidget(), walk.open, walk.modifier);
    QMenu* menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu != nullptr;
    }));
    QTest::keyClick(menu, walk.entry);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
  }
  EXPECT_EQ(settings.AllColor, 0x111111);
  EXPECT_EQ(settings.AllSlice, 0x222222);
  EXPECT_EQ(window.PieGraf(1)->Graf().GetFont().name, "DejaVu Serif");
}

TEST_F(TfmAlldiskTest, EveryControlHasAnAccessibleNameAndEveryPieItsHint) {
  SetDrives(2);
  window.FormActivate();
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->isHidden() || qobject_cast<QMenu*>(control) != nullptr) {
      continue;  // a menu is named by its entry in the menu bar
    }
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(accessible, nullptr);
    EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
        << control->metaObject()->className() << " " << control->objectName().toStdString();
  }
  EXPECT_EQ(window.PieGraf(1)->accessibleName(), "Drive C 1%");
  EXPECT_EQ(window.PieGraf(2)->accessibleDescription(),
            "2 Free Mb / 100 Mb Total Type is Hard drive");
  for (QAction* action : window.findChildren<QAction*>()) {
    if (!action->text().isEmpty()) {
      EXPECT_TRUE(action->text().contains('&')) << action->text().toStdString();
    }
  }
}

}  // namespace
}  // namespace zub
