#include "inspect/UtMem.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/Activation.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

constexpr int kDesignWidth = 349;
constexpr int kDesignHeight = 226;
constexpr int kLeft = 24;
constexpr int kPanelHeight = 41;
constexpr int kListLineHeight = 16;
constexpr int kCaptionMargin = 6;  // each side, inside the bevels
const char kHeading[] = "Windows 95  Currently running";

// Lines are 16 pixels high, taller only for a font that would not fit.
class LineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(kListLineHeight, option.fontMetrics.height()));
    return size;
  }
};

QFont Arial(int pixels) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  return font;
}

void DrawBevel(QPainter& painter, QRect& box, BevelPanel::Bevel bevel, int width) {
  if (bevel == BevelPanel::Bevel::None) {
    return;
  }
  const QColor light = bevel == BevelPanel::Bevel::Raised ? Qt::white : Qt::darkGray;
  const QColor dark = bevel == BevelPanel::Bevel::Raised ? Qt::darkGray : Qt::white;
  for (int i = 0; i < width; ++i) {
    painter.setPen(light);
    painter.drawLine(box.left(), box.top(), box.right(), box.top());
    painter.drawLine(box.left(), box.top(), box.left(), box.bottom());
    painter.setPen(dark);
    painter.drawLine(box.right(), box.top(), box.right(), box.bottom());
    painter.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
    box.adjust(1, 1, -1, -1);
  }
}

}  // namespace

BevelPanel::BevelPanel(Bevel outer, Bevel inner, int bevelWidth, QWidget* parent)
    : QAbstractButton(parent), outer_(outer), inner_(inner), bevelWidth_(bevelWidth) {
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleDescription("Press to hide the window");
}

int BevelPanel::CaptionWidth() const {
  const int bevels = (outer_ != Bevel::None) + (inner_ != Bevel::None);
  return fontMetrics().horizontalAdvance(text()) + 2 * (bevels * bevelWidth_ + kCaptionMargin);
}

void BevelPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  QRect box = rect();
  DrawBevel(painter, box, outer_, bevelWidth_);
  DrawBevel(painter, box, inner_, bevelWidth_);
  painter.setFont(font());
  painter.setPen(QColor(255, 255, 0));
  painter.drawText(box, Qt::AlignCenter, text());
  if (hasFocus()) {
    QPen dotted(QColor(255, 255, 0), 1, Qt::DotLine);
    painter.setPen(dotted);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(1, 1, -2, -2));
  }
}

void BevelPanel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

TfmMem::TfmMem(SettingsFile& machine, SystemFactsSource& facts, const DriveQueries& drives,
               WindowSource& windows, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window),
      sysInfo_(machine, facts, drives),
      windowsList_(windows),
      prompts_(prompts) {
  setObjectName("fmMem");
  setWindowTitle("Memory Screen");
  QFont windowFont("MS Sans Serif");
  windowFont.setPixelSize(11);
  setFont(windowFont);
  windowsList_.SetAcceptEmptyNames(false);

  panel2_ = new BevelPanel(BevelPanel::Bevel::Raised, BevelPanel::Bevel::None, 1, this);
  panel2_->setObjectName("Panel2");
  panel2_->setFont(Arial(13));
  panel2_->setGeometry(kLeft, 16, 273, kPanelHeight);
  connect(panel2_, &QAbstractButton::clicked, this, &TfmMem::Panel2Click);

  panel1_ = new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Lowered, 2, this);
  panel1_->setObjectName("Panel1");
  panel1_->setFont(Arial(12));
  panel1_->setGeometry(kLeft, 56, 273, kPanelHeight);
  panel1_->setText(kHeading);
  panel1_->setAccessibleName(kHeading);
  connect(panel1_, &QAbstractButton::clicked, this, &TfmMem::Panel1Click);

  listBox1_ = new QListWidget(this);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setAccessibleName("Running windows");
  listBox1_->setAccessibleDescription("Click a title or press Enter to choose the list's font");
  listBox1_->setGeometry(kLeft, 96, 273, 97);
  listBox1_->setSortingEnabled(false);
  listBox1_->setItemDelegate(new LineDelegate(listBox1_));
  QFont listFont("MS Sans Serif");
  listFont.setPixelSize(15);
  listBox1_->setFont(listFont);
  QPalette listPalette = listBox1_->palette();
  listPalette.setColor(QPalette::Text, ToQColor(10485760));
  listBox1_->setPalette(listPalette);
  connect(listBox1_, &QListWidget::itemClicked, this, &TfmMem::ListBox1Click);
  // From the keyboard the font dialog comes on Enter or Space, not on every arrow key.
  listBox1_->installEventFilter(this);

  setTabOrder(panel2_, panel1_);
  setTabOrder(panel1_, listBox1_);

  panel2_->setText(QString::fromStdString(FiguresText(sysInfo_.TotalMemory(), 0)));
  panel2_->setAccessibleName(panel2_->text());
  UpdateMinimumSize();
  resize(kDesignWidth, kDesignHeight);
  WatchActivation(this, [this] { FormActivate(); });
}

void TfmMem::FormActivate() {
  windowsList_.RefreshList();
  listBox1_->clear();
  std::size_t count = 0;
  for (const WindowEntry& entry : windowsList_.TheWindowsList()) {
    listBox1_->addItem(QString::fromStdString(entry.title));
    ++count;
  }
  panel2_->setText(QString::fromStdString(FiguresText(sysInfo_.TotalMemory(), count)));
  panel2_->setAccessibleName(panel2_->text());
  UpdateMinimumSize();
}

void TfmMem::FormResize() {
  const int width = frameGeometry().width() - 40;
  const int height = std::max(0, this->height() - 102);
  listBox1_->resize(width, height);
  panel1_->resize(width, kPanelHeight);
  panel2_->resize(width, kPanelHeight);
}

void TfmMem::Panel1Click() {
  hide();
}

void TfmMem::Panel2Click() {
  hide();
}

void TfmMem::ListBox1Click() {
  const auto chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  // Kept by the window alone: the choice is stored nowhere.
  dialogFont_ = *chosen;
  listBox1_->setFont(ToQFont(*chosen));
  QPalette palette = listBox1_->palette();
  palette.setColor(QPalette::Text, ToQColor(chosen->color));
  listBox1_->setPalette(palette);
}

bool TfmMem::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listBox1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      ListBox1Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TfmMem::UpdateMinimumSize() {
  const int caption = std::max(panel1_->CaptionWidth(), panel2_->CaptionWidth());
  setMinimumSize(std::max(0, caption + 40 - FrameWidth()), 102 + kListLineHeight + 4);
}

void TfmMem::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

}  // namespace zub
