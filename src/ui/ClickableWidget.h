// A widget that reports clicks: the left button pressed and released over it,
// or Space or Enter while it has the keyboard focus. Its hint is also its
// accessible description, and reaching it with Tab shows the hint.
#pragma once

#include <QWidget>

class QPainter;

namespace zub {

class ClickableWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ClickableWidget(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // The press in progress will not end in a click (a double click took it).
  void CancelClick() { pressed_ = false; }
  // A dotted focus rectangle just inside the edges while the widget has the
  // focus; paintEvent calls it last, over the control's own drawing.
  void PaintFocus(QPainter& painter) const;

 private:
  bool pressed_ = false;
  bool hintOnRelease_ = false;
};

}  // namespace zub
