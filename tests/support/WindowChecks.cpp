#include "support/WindowChecks.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QTextDocument>
#include <QWidget>

#include "ui/QtFitText.h"

namespace zub::test_support {
namespace {

std::string NameOf(const QWidget& widget) {
  const QString name = widget.objectName();
  return (name.isEmpty() ? QString(widget.metaObject()->className()) : name).toStdString();
}

std::string Described(const QWidget& widget, const QRect& rect) {
  return NameOf(widget) + " " + std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " " +
         std::to_string(rect.width()) + "x" + std::to_string(rect.height());
}

// Inside a scroll area's viewport, children scroll and are clipped on purpose.
bool InsideScrolledContent(const QWidget& widget, const QWidget& window) {
  for (const QWidget* at = widget.parentWidget(); at != nullptr && at != &window;
       at = at->parentWidget()) {
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(at->parentWidget());
        area != nullptr && area->viewport() == at) {
      return true;
    }
  }
  return false;
}

std::vector<const QWidget*> ShownControls(const QWidget& window) {
  std::vector<const QWidget*> shown;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isWindow() && widget->isVisibleTo(&window) &&
        !InsideScrolledContent(*widget, window)) {
      shown.push_back(widget);
    }
  }
  return shown;
}

QString Plain(QString text) {
  // "&&" is a shown ampersand; a lone "&" marks the mnemonic and takes no room.
  text.replace("&&", QChar(0xE000));
  text.remove('&');
  text.replace(QChar(0xE000), "&");
  return text;
}

bool LabelCut(const QLabel& label) {
  const QString text = label.text();
  if (text.isEmpty() || Qt::mightBeRichText(text)) {
    return false;
  }
  if (label.wordWrap()) {
    return label.heightForWidth(label.width()) > label.height();
  }
  const QFontMetrics metrics(label.font());
  int widest = 0;
  for (const QString& line : text.split('\n')) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  const int lines = static_cast<int>(text.count('\n')) + 1;
  return widest > TextRoom(label) || lines * metrics.height() > label.contentsRect().height();
}

bool ButtonCut(const QAbstractButton& button) {
  const QString text = Plain(button.text());
  if (text.isEmpty()) {
    return false;
  }
  const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
  return QFontMetrics(button.font()).horizontalAdvance(text) > button.width() - margin;
}

}  // namespace

std::vector<std::string> ControlsOutside(const QWidget& window) {
  std::vector<std::string> outside;
  const QRect inside = window.rect();
  for (const QWidget* widget : ShownControls(window)) {
    const QRect frame(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    if (!inside.contains(frame)) {
      outside.push_back(Described(*widget, frame));
    }
  }
  return outside;
}

std::vector<std::string> CutTexts(const QWidget& window) {
  std::vector<std::string> cut;
  for (const QWidget* widget : ShownControls(window)) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if ((label != nullptr && LabelCut(*label)) || (button != nullptr && ButtonCut(*button))) {
      cut.push_back(Described(*widget, widget->geometry()));
    }
  }
  return cut;
}

}  // namespace zub::test_support
