// A directory chooser: the chosen directory's path over a list of the
// directories one can go to from it (its parent, then its visible
// subdirectories). Hidden directories are not offered, as the walk does not
// enter them.
#pragma once

#include <QWidget>
#include <string>

#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace zub {

class DirectoryChooser : public QWidget {
  Q_OBJECT

 public:
  DirectoryChooser(DirectorySource& source, QWidget* parent = nullptr);

  const std::string& Directory() const { return directory_; }
  // Moves to `path`; `directoryChanged` follows only when `notify`.
  void SetDirectory(const std::string& path, bool notify);
  QListWidget* List() const { return list_; }

 signals:
  void directoryChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Activate(QListWidgetItem* item);
  void ShowPath();

  DirectorySource& source_;
  std::string directory_;
  QLabel* path_ = nullptr;
  QListWidget* list_ = nullptr;
};

// The parent of an absolute path without a final "/" ("/" for "/usr").
std::string ParentDirectory(const std::string& path);

// Shows drive `letter` in `drives` (quietly) and moves `chooser` to that
// drive's current directory; `notify` says whether that counts as a change
// of directory. Nothing happens for a drive that is not listed.
void MoveChooserToDrive(DriveTable& table, QComboBox* drives, DirectoryChooser* chooser,
                        char letter, bool notify);

}  // namespace zub
