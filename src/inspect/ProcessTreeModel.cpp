#include "inspect/ProcessTreeModel.h"

namespace zub {

ProcessTreeModel::ProcessTreeModel(const ProcessTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {}

QModelIndex ProcessTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const std::int32_t parentLine =
      parent.isValid() ? static_cast<std::int32_t>(LineOf(parent)) : ProcessTree::kNoLine;
  if (row < 0 || column != 0 || static_cast<std::size_t>(row) >= tree_.ChildCount(parentLine)) {
    return {};
  }
  return createIndex(row, 0, static_cast<quintptr>(tree_.Child(parentLine, row)));
}

QModelIndex ProcessTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) {
    return {};
  }
  const std::int32_t parentLine = tree_.Parent(LineOf(child));
  if (parentLine == ProcessTree::kNoLine) {
    return {};
  }
  return createIndex(static_cast<int>(tree_.Row(parentLine)), 0, static_cast<quintptr>(parentLine));
}

int ProcessTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) {
    return 0;
  }
  const std::int32_t line =
      parent.isValid() ? static_cast<std::int32_t>(LineOf(parent)) : ProcessTree::kNoLine;
  return static_cast<int>(tree_.ChildCount(line));
}

int ProcessTreeModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant ProcessTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
    return {};
  }
  const std::string_view text = tree_.Text(LineOf(index));
  // Paths are bytes; what is not UTF-8 shows as replacement characters.
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::ItemFlags ProcessTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) {
    return Qt::NoItemFlags;
  }
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (tree_.ChildCount(static_cast<std::int32_t>(LineOf(index))) == 0) {
    result |= Qt::ItemNeverHasChildren;
  }
  return result;
}

}  // namespace zub
