#include "files/DirectoryTreeModel.h"

#include <algorithm>

namespace zub {

DirectoryTreeModel::DirectoryTreeModel(DirectoryTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), shown_(tree.NodeCount()) {}

std::size_t DirectoryTreeModel::ShownChildren(std::int32_t parent) const {
  const std::vector<std::int32_t>& siblings = tree_.Children(parent);
  if (shown_ >= tree_.NodeCount()) {
    return siblings.size();
  }
  return static_cast<std::size_t>(
      std::lower_bound(siblings.begin(), siblings.end(), static_cast<std::int32_t>(shown_)) -
      siblings.begin());
}

void DirectoryTreeModel::Reload() {
  beginResetModel();
  shown_ = tree_.NodeCount();
  endResetModel();
}

void DirectoryTreeModel::NodesAppended() {
  // Runs of new nodes under one parent become one insertion each.
  while (shown_ < tree_.NodeCount()) {
    const auto first = static_cast<std::int32_t>(shown_);
    const std::int32_t parent = tree_.Parent(first);
    std::size_t end = shown_ + 1;
    while (end < tree_.NodeCount() && tree_.Parent(static_cast<std::int32_t>(end)) == parent) {
      ++end;
    }
    const QModelIndex at =
        parent == DirectoryTree::kNone
            ? QModelIndex()
            : createIndex(static_cast<int>(tree_.RowOf(parent)), 0, static_cast<quintptr>(parent));
    const auto row = static_cast<int>(ShownChildren(parent));
    beginInsertRows(at, row, row + static_cast<int>(end - shown_) - 1);
    shown_ = end;
    endInsertRows();
  }
}

std::int32_t DirectoryTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<std::int32_t>(index.internalId()) : DirectoryTree::kNone;
}

QModelIndex DirectoryTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) {
    return {};
  }
  const std::int32_t up = NodeOf(parent);
  if (static_cast<std::size_t>(row) >= ShownChildren(up)) {
    return {};
  }
  return createIndex(row, 0, static_cast<quintptr>(tree_.Children(up)[row]));
}

QModelIndex DirectoryTreeModel::parent(const QModelIndex& child) const {
  const std::int32_t node = NodeOf(child);
  if (node == DirectoryTree::kNone) {
    return {};
  }
  const std::int32_t up = tree_.Parent(node);
  if (up == DirectoryTree::kNone) {
    return {};
  }
  return createIndex(static_cast<int>(tree_.RowOf(up)), 0, static_cast<quintptr>(up));
}

int DirectoryTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) {
    return 0;
  }
  return static_cast<int>(ShownChildren(NodeOf(parent)));
}

int DirectoryTreeModel::columnCount(const QModelIndex&) const {
  return 1;
}

bool DirectoryTreeModel::hasChildren(const QModelIndex& parent) const {
  return rowCount(parent) > 0;
}

QVariant DirectoryTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) {
    return {};
  }
  // A line wider than the view is whole in its tooltip.
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
    const std::string_view text = tree_.Text(NodeOf(index));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  return {};
}

}  // namespace zub
