#include "files/FileGrid.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

#include "files/FileEntry.h"

namespace zub {

void RowBatch::Add(std::string_view directory, std::string_view name, std::int64_t size) {
  text_.append(directory).append(name);
  rows_.push_back({size, static_cast<std::uint32_t>(directory.size() + name.size())});
}

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

void FileGrid::PushRecord(const Record& record, bool numbered) {
  const Slot slot = SlotOf(rows_);
  if (slot.block == blocks_.size()) {
    // Reserved, not touched: a large block's pages become resident only as
    // rows are written into them.
    blocks_.emplace_back().reserve(std::size_t{1} << (kFirstBlockBits + slot.block));
  }
  blocks_[slot.block].push_back(record);
  if (!order_.empty()) {
    order_.push_back(static_cast<std::uint32_t>(rows_));
  }
  numbered_.push_back(numbered);
  ++rows_;
}

std::uint32_t FileGrid::ChunkFor(std::size_t bytes) {
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < bytes) {
    std::string chunk;
    chunk.reserve(std::max(bytes, nextChunk_));
    nextChunk_ = std::min(nextChunk_ * 2, kLargestChunk);
    chunks_.push_back(std::move(chunk));
  }
  return static_cast<std::uint32_t>(chunks_.size() - 1);
}

void FileGrid::SetRowCount(std::size_t rows) {
  rows = std::max<std::size_t>(rows, 1);
  if (rows < rows_) {
    // Rows beyond the count are never read again; drop their records so the
    // order stays a permutation of the records kept.
    std::vector<Record> kept;
    kept.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row) {
      kept.push_back(RecordAt(row));
    }
    std::vector<bool> numbered(numbered_.begin(), numbered_.begin() + static_cast<long>(rows));
    blocks_.clear();
    order_.clear();
    numbered_.clear();
    rows_ = 0;
    for (std::size_t row = 0; row < rows; ++row) {
      PushRecord(kept[row], numbered[row]);
    }
    return;
  }
  while (rows_ < rows) {
    PushRecord({}, false);
  }
}

void FileGrid::ClearCells() {
  const std::size_t rows = rows_;
  chunks_.clear();
  nextChunk_ = kFirstChunk;
  blocks_.clear();
  order_.clear();
  numbered_.clear();
  rows_ = 0;
  SetRowCount(rows);
}

void FileGrid::FillRow(std::size_t row, std::string_view name, std::int64_t size) {
  const std::uint32_t chunk = ChunkFor(name.size());
  const auto offset = static_cast<std::uint32_t>(chunks_[chunk].size());
  chunks_[chunk].append(name);
  MutableAt(row) = {chunk, offset, size, static_cast<std::uint32_t>(name.size()),
                    CellState::Filled};
}

std::size_t FileGrid::AppendRow(std::string_view directory, std::string_view name,
                                std::int64_t size, bool numbered) {
  const std::size_t length = directory.size() + name.size();
  const std::uint32_t chunk = ChunkFor(length);
  const auto offset = static_cast<std::uint32_t>(chunks_[chunk].size());
  chunks_[chunk].append(directory).append(name);
  PushRecord({chunk, offset, size, static_cast<std::uint32_t>(length), CellState::Filled},
             numbered);
  return rows_ - 1;
}

std::size_t FileGrid::Append(RowBatch&& batch, bool numbered) {
  const std::size_t first = rows_;
  if (batch.rows_.empty()) {
    return first;
  }
  if (batch.text_.size() > std::numeric_limits<std::uint32_t>::max() ||
      batch.text_.size() < kFirstChunk) {
    // Offsets within a chunk are 32-bit: a batch this large goes row by row.
    // So does a small one: a short text lives inside its string and would
    // move whenever the chunk list grows.
    std::size_t at = 0;
    for (const RowBatch::Row& row : batch.rows_) {
      AppendRow({}, std::string_view(batch.text_).substr(at, row.length), row.size, numbered);
      at += row.length;
    }
  } else {
    chunks_.push_back(std::move(batch.text_));
    const auto chunk = static_cast<std::uint32_t>(chunks_.size() - 1);
    std::uint32_t offset = 0;
    for (const RowBatch::Row& row : batch.rows_) {
      PushRecord({chunk, offset, row.size, row.length, CellState::Filled}, numbered);
      offset += row.length;
    }
  }
  batch.text_.clear();
  batch.rows_.clear();
  return first;
}

void FileGrid::SetNumbered(std::size_t row, bool numbered) {
  numbered_[row] = numbered;
}

void FileGrid::MarkDeleted(std::size_t row) {
  MutableAt(row).state = CellState::Deleted;
}

void FileGrid::Exchange(std::size_t a, std::size_t b) {
  if (order_.empty()) {
    order_ = Order();
  }
  std::swap(order_[a], order_[b]);
}

GridOrder FileGrid::Order() const {
  if (!order_.empty()) {
    return order_;
  }
  GridOrder order(rows_);
  std::iota(order.begin(), order.end(), 0U);
  return order;
}

bool FileGrid::SetOrder(GridOrder order) {
  if (order.size() != rows_) {
    return false;
  }
  std::vector<bool> seen(rows_);
  for (const std::uint32_t index : order) {
    if (index >= rows_ || seen[index]) {
      return false;
    }
    seen[index] = true;
  }
  order_ = std::move(order);
  return true;
}

std::string FileGrid::Cell(int column, std::size_t row) const {
  if (row >= rows_ || column < 0 || column >= ColumnCount()) {
    return "";
  }
  const Record& record = RecordAt(row);
  switch (column) {
    case 0:
      if (record.state == CellState::Filled) {
        return NameText(TextOf(record));
      }
      return record.state == CellState::Deleted ? kDeletedCell : kClearedCell;
    case 1:
      return record.state == CellState::Filled ? SizeText(record.size) : kClearedCell;
    case 2:
      // The search numbers its rows from 0 (row 0 is its blank row), the
      // directory space window from 1.
      return numbered_[row] ? std::to_string(Number(row)) : kClearedCell;
    default:
      return "";
  }
}

std::string_view FileGrid::ExactName(std::size_t row) const {
  const Record& record = RecordAt(row);
  return record.state == CellState::Filled ? TextOf(record) : std::string_view();
}

std::size_t FileGrid::OverheadBytes() const {
  std::size_t bytes = sizeof(*this) + chunks_.capacity() * sizeof(std::string) +
                      blocks_.capacity() * sizeof(std::vector<Record>) +
                      order_.capacity() * sizeof(std::uint32_t) + numbered_.capacity() / 8;
  for (const std::string& chunk : chunks_) {
    bytes += chunk.capacity() - chunk.size();
  }
  for (const std::vector<Record>& block : blocks_) {
    bytes += block.capacity() * sizeof(Record);
  }
  return bytes;
}

void FileGrid::Reserve(std::size_t rows, std::size_t textBytes) {
  if (textBytes > 0 && (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() <
                                               std::min(textBytes, kLargestChunk))) {
    chunks_.emplace_back().reserve(std::min(textBytes, kLargestChunk));
  }
  numbered_.reserve(rows_ + rows);
}

void FileGrid::Compact() {
  if (!chunks_.empty()) {
    chunks_.back().shrink_to_fit();
  }
  order_.shrink_to_fit();
}

}  // namespace zub
