#include "ui/QtFitText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>
#include <QStyle>

#include "ui/FitText.h"
#include "ui/Font.h"

namespace zub {
namespace {

// Remembers a label's design size and fits its text again when the label
// is given another width (a window preset, a scaled layout).
class TextFitter : public QObject {
  Q_OBJECT  // findChild below needs the type's own meta-object

 public:
  explicit TextFitter(QLabel* label) : QObject(label), label_(label) {
    setObjectName("zubTextFitter");
    label->installEventFilter(this);
  }

  void Fit(int designPoints) {
    designPoints_ = designPoints;
    Fit();
  }

  void Fit() {
    if (designPoints_ < 1) {
      return;
    }
    QFont font = label_->font();
    const QString text = label_->text();
    const int room = TextRoom(*label_);
    const int points = FitPointSize(
        [&](int size) {
          font.setPixelSize(PointsToPixels(size));
          return QFontMetrics(font).horizontalAdvance(text);
        },
        designPoints_, room);
    font.setPixelSize(PointsToPixels(points));
    if (font != label_->font()) {
      label_->setFont(font);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::Resize) {
      const auto* resize = static_cast<QResizeEvent*>(event);
      if (resize->size().width() != resize->oldSize().width()) {
        Fit();
      }
    }
    return false;
  }

 private:
  QLabel* label_;
  int designPoints_ = 0;
};

TextFitter* FitterOf(QLabel* label) {
  if (auto* fitter = label->findChild<TextFitter*>("zubTextFitter", Qt::FindDirectChildrenOnly)) {
    return fitter;
  }
  return new TextFitter(label);  // owned by the label
}

}  // namespace

int TextRoom(const QLabel& label) {
  int room = label.contentsRect().width() - 2 * label.margin();
  const Qt::Alignment align = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
  if ((align & (Qt::AlignLeft | Qt::AlignRight)) != 0) {
    // Qt's own rule for a negative indent: half an "x" when there is a frame.
    int indent = label.indent();
    if (indent < 0) {
      indent = label.frameWidth() > 0 ? QFontMetrics(label.font()).horizontalAdvance('x') / 2 : 0;
    }
    room -= indent;
  }
  return room;
}

void SetFittedText(QLabel* label, const QString& text, int designPoints) {
  label->setText(text);
  FitterOf(label)->Fit(designPoints);
}

void SetFittedPointSize(QLabel* label, int designPoints) {
  FitterOf(label)->Fit(designPoints);
}

}  // namespace zub

#include "QtFitText.moc"
