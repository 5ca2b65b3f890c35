#include "inspect/UtMem.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "fakes/FakePlatform.h"
#include "fakes/FakeSystemFacts.h"
#include "fakes/FakeWindowSource.h"
#include "fakes/ScriptedPrompts.h"

namespace zub {
namespace {

class TfmMemTest : public ::testing::Test {
 protected:
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < window->ListBox1()->count(); ++i) {
      lines.push_back(window->ListBox1()->item(i)->text().toStdString());
    }
    return lines;
  }

  static fakes::FakeSystemFacts Facts() {
    fakes::FakeSystemFacts f;
    f.facts.totalPhys = std::int64_t{32292} * 1024;
    return f;
  }
  static fakes::FakeSettingsFile MachineStore() {
    fakes::FakeSettingsFile f;
    f.writable = false;
    return f;
  }

  std::unique_ptr<TfmMem> Make() {
    return std::make_unique<TfmMem>(machine, facts, queries, windows, prompts);
  }

  fakes::FakeSettingsFile machine = MachineStore();
  fakes::FakeSystemFacts facts = Facts();
  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  DriveQueries queries{table, space};
  fakes::FakeWindowSource windows;
  fakes::ScriptedPrompts prompts;
  std::unique_ptr<TfmMem> window = Make();
};

TEST_F(TfmMemTest, ActivationListsTitledWindowsInOrderAndCountsThem) {
  windows.Add("Terminal");
  windows.Add("");
  windows.Add("Zub 97 for Windows 95");
  windows.Add("Terminal");
  window->FormActivate();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Terminal", "Zub 97 for Windows 95", "Terminal"}));
  EXPECT_EQ(window->Panel2()->text(), "32292 KB/ 3 Windows");

  windows.stacking.erase(windows.stacking.begin());
  windows.Add("New one");
  window->FormActivate();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Zub 97 for Windows 95", "Terminal", "New one"}));
  EXPECT_EQ(window->Panel2()->text(), "32292 KB/ 3 Windows");

  windows.stacking.clear();
  window->FormActivate();
  EXPECT_EQ(window->ListBox1()->count(), 0);
  EXPECT_EQ(window->Panel2()->text(), "32292 KB/ 0 Windows");
  EXPECT_EQ(window->Panel1()->text(), "Windows 95  Currently running");
}

TEST_F(TfmMemTest, ShowingTheWindowActivatesIt) {
  windows.Add("Listed on show");
  window->show();
  window->activateWindow();
  QTRY_COMPARE(window->ListBox1()->count(), 1);
  EXPECT_EQ(window->Panel2()->text(), "32292 KB/ 1 Windows");
}

TEST_F(TfmMemTest, ResizeSetsListAndPanelWidthsFromTheWindow) {
  window->show();
  // 500 x 400 from edge to edge of the frame, whatever frame the platform adds.
  const int frameWidth = window->frameGeometry().width() - window->width();
  const int frameHeight = window->frameGeometry().height() - window->height();
  window->resize(500 - frameWidth, 400 - frameHeight);
  EXPECT_EQ(window->ListBox1()->size(), QSize(460, window->height() - 102));
  EXPECT_EQ(window->Panel1()->width(), 460);
  EXPECT_EQ(window->Panel2()->width(), 460);
  EXPECT_EQ(window->ListBox1()->pos(), QPoint(24, 96));
  EXPECT_EQ(window->Panel1()->pos(), QPoint(24, 56));
  EXPECT_EQ(window->Panel2()->pos(), QPoint(24, 16));
}

TEST_F(TfmMemTest, FiguresNeverLoseADigitToANarrowWindow) {
  facts.facts.totalPhys = std::int64_t{1} << 50;  // a 16-digit kilobyte figure
  window = Make();
  for (int i = 0; i < 3; ++i) {
    windows.Add("w");
  }
  window->FormActivate();
  window->show();
  window->resize(60, 150);
  EXPECT_GE(window->Panel2()->width(), window->Panel2()->CaptionWidth());
  EXPECT_GE(window->Panel1()->width(), window->Panel1()->CaptionWidth());
  EXPECT_GE(window->ListBox1()->height(), 16);
}

TEST_F(TfmMemTest, PanelClicksHideTheWindowByMouseAndByKeyboard) {
  for (BevelPanel* panel : {window->Panel1(), window->Panel2()}) {
    window->show();
    ASSERT_TRUE(window->isVisible());
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible()) << panel->objectName().toStdString();
  }
  for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
    window->show();
    window->Panel2()->setFocus();
    QTest::keyClick(window->Panel2(), key);
    EXPECT_FALSE(window->isVisible()) << key;
  }
}

TEST_F(TfmMemTest, EveryControlHasANameAndTheKeyboardReachesIt) {
  window->FormActivate();
  for (QWidget* w :
       std::initializer_list<QWidget*>{window->Panel2(), window->Panel1(), window->ListBox1()}) {
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0) << w->objectName().toStdString();
  }
  EXPECT_EQ(window->Panel2()->accessibleName(), window->Panel2()->text());
  EXPECT_EQ(window->Panel2()->nextInFocusChain(), window->Panel1());
  EXPECT_EQ(window->Panel1()->nextInFocusChain(), window->ListBox1());
}

TEST_F(TfmMemTest, ListFontComesFromTheDialogAndIsRememberedOnlyByIt) {
  windows.Add("One");
  window->FormActivate();
  Font chosen;
  chosen.name = "DejaVu Serif";
  chosen.pointSize = 14;
  chosen.color = kRed;
  chosen.bold = true;
  prompts.fonts = {chosen, std::nullopt};

  QListWidget* list = window->ListBox1();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(0)).center());
  ASSERT_EQ(prompts.fontDialogInitials.size(), 1u);
  EXPECT_EQ(prompts.fontDialogInitials[0].name, "MS Sans Serif");
  EXPECT_EQ(prompts.fontDialogInitials[0].pointSize, 8);
  EXPECT_EQ(list->font().family(), "DejaVu Serif");
  EXPECT_TRUE(list->font().bold());
  EXPECT_EQ(list->palette().color(QPalette::Text), QColor(255, 0, 0));

  // From the keyboard: Enter opens it; a cancel keeps the font.
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_EQ(prompts.fontDialogInitials.size(), 2u);
  EXPECT_EQ(prompts.fontDialogInitials[1], chosen);
  EXPECT_EQ(list->font().family(), "DejaVu Serif");
  EXPECT_EQ(machine.rewrites, 0);
}

}  // namespace
}  // namespace zub
