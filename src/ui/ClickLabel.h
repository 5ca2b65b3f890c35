// A label that answers a click of the left button, as a swatch does.
#pragma once

#include <QLabel>
#include <functional>

namespace zub {

class ClickLabel : public QLabel {
 public:
  ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
      : QLabel(text, parent), onClick_(std::move(onClick)) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClick_;
};

}  // namespace zub
