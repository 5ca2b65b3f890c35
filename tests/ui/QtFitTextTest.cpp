#include "ui/QtFitText.h"

#include <QFontMetrics>
#include <QLabel>

#include <gtest/gtest.h>

#include "ui/Font.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

// The main window's status panel: a 2-pixel sunken frame, text centred.
void MakeStatusPanel(QLabel& panel, int width) {
  panel.setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel.setLineWidth(2);
  panel.setAlignment(Qt::AlignCenter);
  panel.setFont(ToQFont(Font{"MS Sans Serif", 12}));
  panel.resize(width, 33);
}

int ShownWidth(const QLabel& panel) {
  return QFontMetrics(panel.font()).horizontalAdvance(panel.text());
}

TEST(QtFitTextTest, LongFiguresShowWholeOnEveryPresetsPanel) {
  const QString texts[] = {
      "82065420 Kb Free / 264212084 Kb Total",
      "84032905216/270553174016 Free/Total Bytes",
      "233/134217495/134217728Mb Used/free/total",
  };
  // Small, Medium and Large, at 640 pixels and scaled for 1280.
  const std::pair<int, int> panels[] = {{289, 12}, {350, 12}, {400, 12},
                                        {578, 24}, {700, 24}, {800, 24}};
  for (const QString& text : texts) {
    for (const auto& [width, points] : panels) {
      QLabel panel;
      MakeStatusPanel(panel, width);
      SetFittedText(&panel, text, points);
      SCOPED_TRACE(text.toStdString() + " at " + std::to_string(width));
      EXPECT_EQ(panel.text(), text);
      EXPECT_LE(ShownWidth(panel), TextRoom(panel)) << "a digit is cut";
      EXPECT_LE(panel.font().pixelSize(), PointsToPixels(points));
      EXPECT_EQ(panel.font().family(), ToQFont(Font{"MS Sans Serif", 12}).family())
          << "only the size changes";
    }
  }
}

TEST(QtFitTextTest, AShortTextKeepsTheDesignSize) {
  QLabel panel;
  MakeStatusPanel(panel, 289);
  SetFittedText(&panel, "Free Total Memory is 45 %", 12);
  EXPECT_EQ(panel.font().pixelSize(), PointsToPixels(12));
  // A long text shrinks the font, the next short one brings the size back.
  SetFittedText(&panel, "84032905216/270553174016 Free/Total Bytes", 12);
  EXPECT_LT(panel.font().pixelSize(), PointsToPixels(12));
  SetFittedText(&panel, "1520 Free Mb / 2047 Mb Total", 12);
  EXPECT_EQ(panel.font().pixelSize(), PointsToPixels(12));
}

TEST(QtFitTextTest, TheTextFitsAgainWhenThePanelIsResized) {
  QLabel panel;
  MakeStatusPanel(panel, 578);
  panel.show();  // a hidden widget gets its resize events only when shown
  SetFittedText(&panel, "82065420 Kb Free / 264212084 Kb Total", 12);
  EXPECT_EQ(panel.font().pixelSize(), PointsToPixels(12));
  panel.resize(200, 33);  // a smaller preset
  EXPECT_LE(ShownWidth(panel), TextRoom(panel));
  EXPECT_LT(panel.font().pixelSize(), PointsToPixels(12));
  panel.resize(578, 33);
  EXPECT_EQ(panel.font().pixelSize(), PointsToPixels(12));
  SetFittedPointSize(&panel, 10);
  EXPECT_EQ(panel.font().pixelSize(), PointsToPixels(10));
}

TEST(QtFitTextTest, ALeftAlignedFramedLabelLosesItsIndentToo) {
  QLabel label;
  label.setFrameStyle(QFrame::Panel | QFrame::Raised);
  label.setLineWidth(1);
  label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label.resize(100, 20);
  const int centred = [] {
    QLabel c;
    c.setFrameStyle(QFrame::Panel | QFrame::Raised);
    c.setLineWidth(1);
    c.setAlignment(Qt::AlignCenter);
    c.resize(100, 20);
    return TextRoom(c);
  }();
  EXPECT_EQ(centred, 98);
  EXPECT_LT(TextRoom(label), centred);
}

}  // namespace
}  // namespace zub
