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
};

const std::array<Row, 9> kRows = {{
    {"Company ", "Company", &TVersionInfo::CompanyName},
    {"Description", "Description", &TVersionInfo::FileDescription},
    {"Operating System", "OS", &TVersionInfo::FileOS},
    {"File Type", "Filetype", &TVersionInfo::FileType},
    {"File Version", "FileVersion", &TVersionInfo::FileVersion},
    {"Internal Name", "InternalName", &TVersionInfo::InternalName},
    {"Copyright", "Copyright", &TVersionInfo::LegalCopyright},
    {"Product Name", "ProductName", &TVersionInfo::ProductName},
    {"Product Version", "ProductVersion", &TVersionInfo::ProductVersion},
}};

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

TFileInfo::TFileInfo(VersionSources sources, const std::string& ownPath, QWidget* parent)
    : QDialog(parent), versionResource1_(sources, ownPath) {
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

void TFileInfo::FormActivate() {
  setWindowTitle(QFile::decodeName(QByteArray::fromStdString(InfoFileName)));
  if (IsExistingFile(InfoFileName)) {
    versionResource1_.SetFileName(InfoFileName);
  }
  const TVersionInfo& info = versionResource1_.VersionInfo();
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const QString text = QString::fromStdString(info.*kRows[i].text);
    values_[i]->setText(text);
    values_[i]->setToolTip(text);
  }
  FitValues();
}

void TFileInfo::Button1Click() {
  close();
}

void TFileInfo::FitValues() {
  int widest = 0;
  for (const QLabel* value : values_) {
    widest = std::max(widest, value->fontMetrics().horizontalAdvance(value->text()));
  }
  int panelWidth = std::max(kPanelWidth, kValueLeft + widest + 8);
  int width = kPanelLeft + panelWidth + kButtonGap + 75 + kRightMargin;
  if (const QScreen* screen = this->screen()) {
    const int room = screen->availableGeometry().width();
    if (width > room) {
      panelWidth -= width - room;
      width = room;
    }
  }
  panelWidth = std::max(panelWidth, kPanelWidth);
  panel1_->resize(panelWidth, panel1_->height());
  for (QLabel* value : values_) {
    value->resize(panelWidth - kValueLeft - 4, value->height());
  }
  button1_->move(kPanelLeft + panelWidth + kButtonGap, button1_->y());
  // It grows or shrinks about its centre, as it was placed, but stays on the screen.
  width = std::max(kWidth, width);
  int left = x() - (width - this->width()) / 2;
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - width));
  }
  // pos() and move() count the frame, resize() does not.
  move(left, y());
  resize(width, height());
}

}  // namespace zub
