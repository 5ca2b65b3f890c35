#include "files/FileGrid.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "files/FileEntry.h"

namespace zub {

FileGrid::FileGrid(GridKind kind) : kind_(kind) {
  SetRowCount(1);
}

int FileGrid::ColumnCount() const {
  switch (kind_) {
    case GridKind::DirectorySpace:
      return 3;
    case GridKind::DirectoryTree:
      return 2;
    case GridKind::FileSearch:
      return 4;
  }
  return 2;
}

void FileGrid::SetRowCount(std::size_t rows) {
  rows = std::max<std::size_t>(rows, 1);
  if (rows < order_.size()) {
    // Rows beyond the count are never read again; drop their records so the
    // order stays a permutation of the records kept.
    std::vector<Record> kept;
    kept.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row) {
      kept.push_back(records_[order_[row]]);
    }
    records_ = std::move(kept);
    order_.resize(rows);
    std::iota(order_.begin(), order_.end(), 0U);
    numbered_.resize(rows);
    return;
  }
  while (order_.size() < rows) {
    order_.push_back(static_cast<std::uint32_t>(records_.size()));
    records_.push_back({});
    numbered_.push_back(false);
  }
}

void FileGrid::ClearCells() {
  const std::size_t rows = order_.size();
  text_.clear();
  records_.assign(rows, Record{});
  std::iota(order_.begin(), order_.end(), 0U);
  numbered_.assign(rows, false);
}

void FileGrid::FillRow(std::size_t row, std::string_view name, std::int64_t size) {
  Record& record = records_[order_[row]];
  record.offset = text_.size();
  record.length = static_cast<std::uint32_t>(name.size());
  record.size = size;
  record.state = CellState::Filled;
  text_.append(name);
}

void FileGrid::SetNumbered(std::size_t row, bool numbered) {
  numbered_[row] = numbered;
}

void FileGrid::MarkDeleted(std::size_t row) {
  records_[order_[row]].state = CellState::Deleted;
}

void FileGrid::Exchange(std::size_t a, std::size_t b) {
  std::swap(order_[a], order_[b]);
}

std::string FileGrid::Cell(int column, std::size_t row) const {
  if (row >= order_.size() || column < 0 || column >= ColumnCount()) {
    return "";
  }
  const Record& record = records_[order_[row]];
  switch (column) {
    case 0:
      if (record.state == CellState::Filled) {
        return NameText(TextOf(record));
      }
      return record.state == CellState::Deleted ? kDeletedCell : kClearedCell;
    case 1:
      return record.state == CellState::Filled ? SizeText(record.size) : kClearedCell;
    case 2:
      if (!numbered_[row]) {
        return kClearedCell;
      }
      // The search numbers its rows from 0 (row 0 is its blank row), the
      // directory space window from 1.
      return std::to_string(kind_ == GridKind::FileSearch ? row : row + 1);
    default:
      return "";
  }
}

std::string_view FileGrid::ExactName(std::size_t row) const {
  const Record& record = records_[order_[row]];
  return record.state == CellState::Filled ? TextOf(record) : std::string_view();
}

std::size_t FileGrid::OverheadBytes() const {
  return (text_.capacity() - text_.size()) + records_.capacity() * sizeof(Record) +
         order_.capacity() * sizeof(std::uint32_t) + numbered_.capacity() / 8 + sizeof(*this);
}

void FileGrid::Reserve(std::size_t rows, std::size_t textBytes) {
  text_.reserve(textBytes);
  records_.reserve(rows);
  order_.reserve(rows);
  numbered_.reserve(rows);
}

void FileGrid::Compact() {
  text_.shrink_to_fit();
  records_.shrink_to_fit();
  order_.shrink_to_fit();
}

}  // namespace zub
