// The pie graph control on screen: keeps an image of its own that property
// setters draw over, and shows the pie's hint as its tooltip. Its accessible
// name is what it writes in the disc (caption and percentage).
#pragma once

#include <QImage>

#include "diskview/PieGraf.h"
#include "ui/ClickableWidget.h"

namespace zub {

class PieGrafWidget : public ClickableWidget, private PieSurface {
  Q_OBJECT

 public:
  explicit PieGrafWidget(QWidget* parent = nullptr);

  // The control's properties; its setters draw on this widget at once.
  TPieGraf& Graf() { return graf_; }
  const TPieGraf& Graf() const { return graf_; }

  // What the control shows now, as drawn so far.
  const QImage& Surface() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void DrawOver(const std::function<void(Canvas&)>& draw) override;
  void Repaint() override;
  // Brings the control's size and the image in line with the widget; true
  // when the image had to be made anew (and so holds nothing yet).
  bool FitImage();
  // The panel face, then the pie, on the image.
  void PaintAll();
  void NameForAccessibility();

  TPieGraf graf_;
  QImage image_;
};

}  // namespace zub
