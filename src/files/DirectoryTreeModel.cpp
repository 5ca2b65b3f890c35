#include "files/DirectoryTreeModel.h"

namespace zub {

DirectoryTreeModel::DirectoryTreeModel(DirectoryTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {}

std::int32_t DirectoryTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<std::int32_t>(index.internalId()) : DirectoryTree::kNone;
}

QModelIndex DirectoryTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) {
    return {};
  }
  const std::vector<std::int32_t>& siblings = tree_.Children(NodeOf(parent));
  if (static_cast<std::size_t>(row) >= siblings.size()) {
    return {};
  }
  return createIndex(row, 0, static_cast<quintptr>(siblings[row]));
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
  return static_cast<int>(tree_.Children(NodeOf(parent)).size());
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
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
    const std::string_view text = tree_.Text(NodeOf(index));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  return {};
}

}  // namespace zub
