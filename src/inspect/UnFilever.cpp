#include "inspect/UnFilever.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ui/Activation.h"

namespace zub {
namespace {

constexpr int kWidth = 566;
constexpr int kHeight = 307;
constexpr int kPanelLeft = 136;
constexpr int kPanelWidth = 313;
constexpr int kValueLeft = 32;
constexpr int kButtonLeft = 472;
constexpr int kButtonGap = kButtonLeft - (kPanelLeft + kPanelWidth);
constexpr int kRightMargin = kWidth - (kButtonLeft + 75);
constexpr int kLabelHeight = 17;

struct Row {
  const char* caption;
  const char* valueName;
  std::string TVersionInfo::*text;
  bool figure;  // shown whole, never shortened
};

const std::array<Row, 9> kRows = {{
    {"Company ", "Company", &TVersionInfo::CompanyName, false},
    {"Description", "Description", &TVersionInfo::FileDescription, false},
    {"Operating System", "OS", &TVersionInfo::FileOS, false},
    {"File Type", "Filetype", &TVersionInfo::FileType, false},
    {"File Version", "FileVersion", &TVersionInfo::FileVersion, true},
    {"Internal Name", "InternalName", &TVersionInfo::InternalName, false},
    {"Copyright", "Copyright", &TVersionInfo::LegalCopyright, false},
    {"Product Name", "ProductName", &TVersionInfo::ProductName, false},
    {"Product Version", "ProductVersion", &TVersionInfo::ProductVersion, true},
}};

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

TFileInfo::TFileInfo(VersionSources sources, std::string ownPath, QWidget* parent)
    : QDialog(parent), sources_(sources), ownPath_(std::move(ownPath)) {
  setObjectName("FileInfo");
  setWindowTitle("FileInfo");
  setAccessibleName("File information");
  resize(kWidth, kHeight);

  panel1_ = new QFrame(this);
  panel1_->setObjectName("Panel1");
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel1_->setGeometry(kPanelLeft, 16, kPanelWidth, 241);
  panel1_->setAccessibleName("Version information");

  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const int row = static_cast<int>(i) * 24;
    auto* caption = new QLabel(kRows[i].caption, this);
    caption->setGeometry(16, 24 + row, kPanelLeft - 16 - 4, kLabelHeight);

    auto* value = new QLabel(panel1_);
    value->setObjectName(kRows[i].valueName);
    value->setGeometry(kValueLeft, 8 + row, kPanelWidth - kValueLeft - 4, kLabelHeight);
    // Tab reaches each value, and its text can be selected and copied.
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    value->setFocusPolicy(Qt::StrongFocus);
    value->setAccessibleName(QString(kRows[i].caption).trimmed());
    caption->setBuddy(value);
    values_[i] = value;
  }

  button1_ = new QPushButton("OK", this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(kButtonLeft, 16, 75, 25);
  button1_->setDefault(true);
  button1_->setAccessibleName("OK");
  connect(button1_, &QPushButton::clicked, this, &TFileInfo::Button1Click);
  button1_->setFocus();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
  WatchActivation(this, [this] { FormActivate(); });
}

TVersionResource& TFileInfo::VersionResource1() {
  if (!versionResource1_) {
    versionResource1_.emplace(sources_, ownPath_);
  }
  return *versionResource1_;
}

void TFileInfo::FormActivate() {
  setWindowTitle(QFile::decodeName(QByteArray::fromStdString(InfoFileName)));
  // The texts are always the named file's: one that is no longer there (or
  // is no regular file) shows none, never the texts of the file shown before.
  const bool regular = IsRegularFile(InfoFileName);
  if (regular) {
    VersionResource1().SetFileName(InfoFileName);
  }
  const TVersionInfo none;
  const TVersionInfo& info = regular ? VersionResource1().VersionInfo() : none;
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    texts_[i] = QString::fromStdString(info.*kRows[i].text);
    values_[i]->setText(texts_[i]);
    values_[i]->setToolTip(texts_[i]);
    values_[i]->setAccessibleDescription(texts_[i]);
  }
  FitValues();
}

void TFileInfo::Button1Click() {
  close();
}

void TFileInfo::FitValues() {
  // The frame counts against the screen too (none is known before the first showing).
  const int frame = frameGeometry().width() - width();
  int widest = 0;
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    widest = std::max(widest, values_[i]->fontMetrics().horizontalAdvance(texts_[i]));
  }
  int panelWidth = std::max(kPanelWidth, kValueLeft + widest + 8);
  int width = kPanelLeft + panelWidth + kButtonGap + 75 + kRightMargin;
  const QScreen* screen = this->screen();
  if (screen != nullptr) {
    const int room = screen->availableGeometry().width() - frame;
    if (width > room) {
      panelWidth -= width - room;
      width = room;
    }
  }
  panelWidth = std::max(panelWidth, kPanelWidth);
  panel1_->resize(panelWidth, panel1_->height());
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    QLabel* value = values_[i];
    value->resize(panelWidth - kValueLeft - 4, value->height());
    // What still does not fit on the screen ends in "…"; a figure is never cut
    // (version numbers are short enough for the design's panel).
    value->setText(kRows[i].figure ? texts_[i]
                                   : value->fontMetrics().elidedText(texts_[i], Qt::ElideRight,
                                                                     value->width()));
  }
  button1_->move(kPanelLeft + panelWidth + kButtonGap, button1_->y());
  // It grows or shrinks about its centre, as it was placed, but stays on the screen.
  width = std::max(kWidth, width);
  int left = x() - (width - this->width()) / 2;
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - width - frame));
  }
  // pos() and move() count the frame, resize() does not.
  move(left, y());
  resize(width, height());
}

}  // namespace zub
