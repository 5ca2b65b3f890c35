// A Qt item model over a DirectoryTree: nodes are read when the view asks,
// so a disk of 100,000 directories costs no item objects.
#pragma once

#include <QAbstractItemModel>

#include "files/DirectoryTree.h"

namespace zub {

class DirectoryTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit DirectoryTreeModel(DirectoryTree& tree, QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;

  std::int32_t NodeOf(const QModelIndex& index) const;
  // Around a change of the whole tree (a scan, a sort).
  void BeginChange() { beginResetModel(); }
  void EndChange() { endResetModel(); }

 private:
  DirectoryTree& tree_;
};

}  // namespace zub
