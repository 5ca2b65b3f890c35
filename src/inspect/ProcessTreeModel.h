// A one-column item model over the process tree's lines: no item object per
// line, so a tree of a hundred thousand lines opens and expands at once.
#pragma once

#include <QAbstractItemModel>

#include "inspect/ProcessTree.h"

namespace zub {

class ProcessTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // Keeps a reference to `tree`, which outlives the model.
  explicit ProcessTreeModel(const ProcessTree& tree, QObject* parent = nullptr);

  // Change the tree only between these two.
  void BeginRebuild() { beginResetModel(); }
  void EndRebuild() { endResetModel(); }

  // The tree line an index stands for.
  static std::size_t LineOf(const QModelIndex& index) { return index.internalId(); }
  // The index of a tree line.
  QModelIndex IndexOf(std::size_t line) const {
    return createIndex(static_cast<int>(tree_.Row(line)), 0, static_cast<quintptr>(line));
  }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const ProcessTree& tree_;
};

}  // namespace zub
