// A Qt item model over a DirectoryTree: nodes are read when the view asks,
// so a disk of 100,000 directories costs no item objects; nodes added while
// a scan runs are announced in batches.
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
  const DirectoryTree& Tree() const { return tree_; }
  // After the whole tree changed (cleared, replaced, sorted).
  void Reload();
  // After nodes were added at the end of the tree.
  void NodesAppended();

 private:
  // The children of `parent` the views know of.
  std::size_t ShownChildren(std::int32_t parent) const;

  DirectoryTree& tree_;
  // Nodes numbered from here on are not announced yet. Sibling lists are in
  // node order while nodes are being added (a sort comes only after).
  std::size_t shown_ = 0;
};

}  // namespace zub
