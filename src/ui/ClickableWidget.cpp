#include "ui/ClickableWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolTip>

namespace zub {

ClickableWidget::ClickableWidget(QWidget* parent) : QWidget(parent) {
  // Self-drawn controls have no native focus; without this a keyboard user
  // could never reach a swatch, a pie or a die.
  setFocusPolicy(Qt::StrongFocus);
}

bool ClickableWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTipChange) {
    setAccessibleDescription(toolTip());
  }
  return QWidget::event(event);
}

void ClickableWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
  }
  QWidget::mousePressEvent(event);
}

void ClickableWidget::mouseReleaseEvent(QMouseEvent* event) {
  // A press dragged off the widget before release is no click.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    pressed_ = false;
  }
  QWidget::mouseReleaseEvent(event);
  if (click) {
    emit clicked();
  }
}

void ClickableWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool clickKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
  // A held key is one click, as a held mouse button is.
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (clickKey && plain) {
    event->accept();
    if (!event->isAutoRepeat()) {
      emit clicked();
    }
    return;
  }
  QWidget::keyPressEvent(event);
}

void ClickableWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  // The hint is what the pointer would show; a keyboard user gets it on arrival.
  const bool byKeyboard = event->reason() == Qt::TabFocusReason ||
                          event->reason() == Qt::BacktabFocusReason ||
                          event->reason() == Qt::ShortcutFocusReason;
  // Shown when the Tab key comes up: a tooltip closes on any key event.
  hintOnRelease_ = byKeyboard && !toolTip().isEmpty();
}

void ClickableWidget::keyReleaseEvent(QKeyEvent* event) {
  if (hintOnRelease_ && !event->isAutoRepeat()) {
    hintOnRelease_ = false;
    QToolTip::showText(mapToGlobal(QPoint(width() / 2, height())), toolTip(), this);
  }
  QWidget::keyReleaseEvent(event);
}

void ClickableWidget::focusOutEvent(QFocusEvent* event) {
  hintOnRelease_ = false;
  QWidget::focusOutEvent(event);
  update();
}

void ClickableWidget::PaintFocus(QPainter& painter) const {
  if (!hasFocus()) {
    return;
  }
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = rect().adjusted(2, 2, -2, -2);
  option.backgroundColor = palette().color(QPalette::Window);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

}  // namespace zub
