#include "files/DirectoryChooser.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "files/DirectoryScan.h"

namespace zub {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QString FromBytes(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Joined(const std::string& directory, const std::string& name) {
  return directory.empty() || directory.back() == '/' ? directory + name : directory + "/" + name;
}

}  // namespace

std::string ParentDirectory(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) {
    return "/";
  }
  return path.substr(0, slash);
}

DirectoryChooser::DirectoryChooser(DirectorySource& source, QWidget* parent)
    : QWidget(parent), source_(source) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  path_ = new QLabel(this);
  path_->setObjectName("DirectoryPath");
  path_->setAccessibleName("Chosen directory");
  path_->setFrameShape(QFrame::Panel);
  path_->setFrameShadow(QFrame::Sunken);
  path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  list_ = new QListWidget(this);
  list_->setObjectName("DirectoryList");
  list_->setAccessibleName("Directories");
  layout->addWidget(path_);
  layout->addWidget(list_, 1);
  // A double click or Enter goes there, as in the classic chooser; a single
  // click only selects.
  connect(list_, &QListWidget::itemActivated, this, &DirectoryChooser::Activate);
}

void DirectoryChooser::SetDirectory(const std::string& path, bool notify) {
  directory_ = path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
  list_->clear();
  // No directory at all (a drive gone) reads nothing: never the working directory.
  if (!directory_.empty() && directory_ != "/") {
    auto* up = new QListWidgetItem("..", list_);
    up->setData(kPathRole, QByteArray::fromStdString(ParentDirectory(directory_)));
    up->setToolTip(FromBytes(ParentDirectory(directory_)));
  }
  for (const std::string& name :
       directory_.empty() ? std::vector<std::string>{} : SubdirectoryNames(source_, directory_)) {
    auto* item = new QListWidgetItem(FromBytes(name), list_);
    item->setData(kPathRole, QByteArray::fromStdString(Joined(directory_, name)));
  }
  if (list_->count() > 0) {
    list_->setCurrentRow(0);
  }
  ShowPath();
  if (notify) {
    emit directoryChanged();
  }
}

void DirectoryChooser::Activate(QListWidgetItem* item) {
  if (item == nullptr) {
    return;
  }
  SetDirectory(item->data(kPathRole).toByteArray().toStdString(), true);
}

void DirectoryChooser::ShowPath() {
  // A long path keeps its end, the part that tells directories apart.
  const QString full = FromBytes(directory_);
  path_->setToolTip(full);
  path_->setText(QFontMetrics(path_->font()).elidedText(full, Qt::ElideLeft, path_->width() - 6));
}

void DirectoryChooser::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ShowPath();
}

void MoveChooserToDrive(DriveTable& table, QComboBox* drives, DirectoryChooser* chooser,
                        char letter, bool notify) {
  const std::optional<DriveInfo> drive = FindDrive(table, letter);
  if (!drive) {
    return;
  }
  const int index = drives->findData(QChar(letter));
  if (index >= 0 && index != drives->currentIndex()) {
    const QSignalBlocker quiet(drives);
    drives->setCurrentIndex(index);
  }
  chooser->SetDirectory(drive->currentDirectory, notify);
}

}  // namespace zub
