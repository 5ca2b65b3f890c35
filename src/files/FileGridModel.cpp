#include "files/FileGridModel.h"

namespace zub {

FileGridModel::FileGridModel(FileGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), shown_(static_cast<int>(grid.RowCount())) {}

int FileGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int FileGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant FileGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) {
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
    // Names are bytes; invalid UTF-8 shows with replacement characters.
    const std::string text = grid_.Cell(index.column(), static_cast<std::size_t>(index.row()));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  if (role == Qt::ToolTipRole && index.column() == 0) {
    // A name or path too long for its column is elided; its whole is here.
    const std::string text = grid_.Cell(0, static_cast<std::size_t>(index.row()));
    return text == kClearedCell
               ? QVariant()
               : QVariant(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  if (role == Qt::ForegroundRole) {
    return color_;
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

void FileGridModel::SetTextColor(const QColor& color) {
  color_ = color;
  if (shown_ > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
  }
}

void FileGridModel::Reload() {
  beginResetModel();
  shown_ = static_cast<int>(grid_.RowCount());
  endResetModel();
}

void FileGridModel::RowsAppended() {
  const auto rows = static_cast<int>(grid_.RowCount());
  if (rows > shown_) {
    beginInsertRows(QModelIndex(), shown_, rows - 1);
    shown_ = rows;
    endInsertRows();
  }
}

void FileGridModel::RowChanged(std::size_t row) {
  const int r = static_cast<int>(row);
  emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

}  // namespace zub
