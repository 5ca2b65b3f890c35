#include "inspect/UnFilever.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "fakes/FakeVersionSources.h"
#include "support/TempDir.h"

namespace zub {
namespace {

const char* const kOwn = "/opt/zub97/zub97";

class TFileInfoTest : public ::testing::Test {
 protected:
  TFileInfoTest() {
    dir.Write("kernel32.dll", "x");
    dll = dir / "kernel32.dll";
    fakes::FakeVersionBlocks::Block own;
    own.fixed = FixedFileInfo{0x00030000, 0, 0x00030000, 0, 4, 1, 0};
    own.texts["\\StringFileInfo\\040904E4\\CompanyName"] = "Zub";
    blocks.files[kOwn] = own;
    fakes::FakeVersionBlocks::Block block;
    block.fixed = FixedFileInfo{0x00040000, 950, 0x00040000, 950, 0x40004, 2, 0};
    const std::string p = "\\StringFileInfo\\040904E4\\";
    block.texts[p + "CompanyName"] = "Microsoft Corporation";
    block.texts[p + "FileDescription"] = "Win32 Kernel core component";
    block.texts[p + "InternalName"] = "KERNEL32";
    block.texts[p + "LegalCopyright"] = "Copyright (C) Microsoft Corp. 1981-1995";
    block.texts[p + "ProductName"] = "Microsoft(R) Windows(TM) Operating System";
    blocks.files[dll] = block;
    window = std::make_unique<TFileInfo>(VersionSources{blocks, elf, packages}, kOwn);
  }

  void ShowAndActivate() {
    window->show();
    window->activateWindow();
  }

  std::vector<QString> Values() const {
    std::vector<QString> values;
    for (int i = 0; i < 9; ++i) {
      values.push_back(window->ValueLabel(i)->text());
    }
    return values;
  }

  test_support::TempDir dir;
  std::string dll;
  fakes::FakeVersionBlocks blocks;
  fakes::FakeElfSource elf;
  fakes::FakePackageDatabase packages;
  std::unique_ptr<TFileInfo> window;
};

TEST_F(TFileInfoTest, CreatedHiddenWithTheDesignLayoutReadingNothingUntilAsked) {
  EXPECT_FALSE(window->isVisible());
  // Made at start-up: no file and no package is read for a window not shown.
  EXPECT_EQ(blocks.sizeQueries, 0);
  EXPECT_TRUE(packages.asked.empty());
  EXPECT_EQ(window->windowTitle(), "FileInfo");
  EXPECT_EQ(window->size(), QSize(566, 307));
  EXPECT_EQ(window->Panel1()->geometry(), QRect(136, 16, 313, 241));
  EXPECT_EQ(window->Button1()->geometry(), QRect(472, 16, 75, 25));
  EXPECT_EQ(window->Button1()->text(), "OK");
  EXPECT_EQ(window->ValueLabel(8)->geometry().topLeft(), QPoint(32, 200));
  EXPECT_EQ(window->VersionResource1().VersionInfo().CompanyName, "Zub");
  EXPECT_EQ(window->ValueLabel(0)->text(), "");
}

TEST_F(TFileInfoTest, ActivationShowsTheNamedFileInTheNineLabels) {
  window->InfoFileName = dll;
  ShowAndActivate();
  QTRY_COMPARE(window->windowTitle(), QString::fromStdString(dll));
  const std::vector<QString> expected = {"Microsoft Corporation",
                                         "Win32 Kernel core component",
                                         "Windows NT with 32 bit Windows",
                                         "Dynamic-Link Library",
                                         "4.0.0.950",
                                         "KERNEL32",
                                         "Copyright (C) Microsoft Corp. 1981-1995",
                                         "Microsoft(R) Windows(TM) Operating System",
                                         "4.0.0.950"};
  EXPECT_EQ(Values(), expected);
  for (int i = 0; i < 9; ++i) {
    const QLabel* label = window->ValueLabel(i);
    // Whole texts: no value is cut by its label.
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << i;
    EXPECT_FALSE(label->accessibleName().isEmpty()) << i;
  }
}

TEST_F(TFileInfoTest, WhatIsNoLongerARegularFileShowsNoneOfThePreviousTexts) {
  window->InfoFileName = dll;
  ShowAndActivate();
  QTRY_COMPARE(window->windowTitle(), QString::fromStdString(dll));
  ASSERT_EQ(window->ValueLabel(0)->text(), "Microsoft Corporation");
  window->hide();
  // A device (mapped by graphics programs) and a directory are no files either.
  for (const std::string& other : {dir / "gone.dll", dir.Path(), std::string("/dev/null")}) {
    window->InfoFileName = other;
    window->FormActivate();
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(other));
    EXPECT_EQ(Values(), std::vector<QString>(9)) << other;
  }
}

TEST_F(TFileInfoTest, LongTextWidensTheWindowInsteadOfLosingCharacters) {
  const std::string longText(120, 'W');
  blocks.files[dll].texts["\\StringFileInfo\\040904E4\\LegalCopyright"] = longText;
  window->InfoFileName = dll;
  window->FormActivate();
  const QLabel* copyright = window->ValueLabel(6);
  const int needed = copyright->fontMetrics().horizontalAdvance(copyright->text());
  const int room = window->screen()->availableGeometry().width();
  EXPECT_GE(copyright->width(), std::min(needed, room - 136 - 32 - 123));
  EXPECT_LE(window->width(), std::max(566, room));
  EXPECT_GT(window->width(), 566);
  EXPECT_EQ(window->Button1()->x(), window->Panel1()->geometry().right() + 1 + 23);
}

TEST_F(TFileInfoTest, OkAndEscapeCloseTheWindow) {
  window->InfoFileName = dll;
  ShowAndActivate();
  QTRY_VERIFY(window->isVisible());
  QTest::mouseClick(window->Button1(), Qt::LeftButton);
  QTRY_VERIFY(!window->isVisible());
  ShowAndActivate();
  QTRY_VERIFY(window->isVisible());
  QTest::keyClick(window.get(), Qt::Key_Escape);
  QTRY_VERIFY(!window->isVisible());
}

}  // namespace
}  // namespace zub
