// A directory chooser: the chosen directory's path over a list of the
// directories one can go to from it (its parent, then its subdirectories).
// The subdirectories are read on a worker, so a directory that does not
// answer never holds the window: the list says so instead.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "files/LongWork.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"

class QComboBox;
class QLabel;
class QTimer;
class QListWidget;
class QListWidgetItem;

namespace zub {

class DirectoryChooser : public QWidget {
  Q_OBJECT

 public:
  DirectoryChooser(DirectorySource& source, QWidget* parent = nullptr, WorkLimits limits = {});

  const std::string& Directory() const { return directory_; }
  // Moves to `path`; `directoryChanged` follows only when `notify`. The
  // subdirectories follow once read.
  void SetDirectory(const std::string& path, bool notify);
  QListWidget* List() const { return list_; }
  // Whether the subdirectories are still being read.
  bool Reading() const { return read_.Running(); }
  // Whether a read given up on still runs (it touches nothing of ours).
  bool LeftBehindRunning() const { return read_.LeftBehindRunning(); }

 signals:
  void directoryChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Activate(QListWidgetItem* item);
  void ShowPath();
  void PollRead();

  DirectorySource& source_;
  std::string directory_;
  QLabel* path_ = nullptr;
  QListWidget* list_ = nullptr;
  QTimer* poll_ = nullptr;
  std::shared_ptr<std::vector<std::string>> names_;
  LongWork read_;
  bool stale_ = false;  // a read was stopped: read again when shown
};

// The parent of an absolute path without a final "/" ("/" for "/usr").
std::string ParentDirectory(const std::string& path);

// Shows drive `letter` in `drives` (quietly) and moves `chooser` to that
// drive's current directory; `notify` says whether that counts as a change
// of directory. Nothing happens for a drive that is not listed.
void MoveChooserToDrive(DriveTable& table, QComboBox* drives, DirectoryChooser* chooser,
                        char letter, bool notify);

}  // namespace zub
