// A widget that reports clicks: the left button pressed and released over it.
#pragma once

#include <QWidget>

namespace zub {

class ClickableWidget : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The press in progress will not end in a click (a double click took it).
  void CancelClick() { pressed_ = false; }

 private:
  bool pressed_ = false;
};

}  // namespace zub
