// The text grid of the file windows, built for a whole disk: every name is
// kept once in byte chunks that never move, a row is a fixed record in
// blocks that never move, and the display order is an index array that
// sorts and exchanges permute (none while it is the order of arrival). Cell
// texts are made when asked; a number column never moves, so it is not stored.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zub {

// Which window the grid belongs to: its columns and its sort rules.
enum class GridKind : std::uint8_t { DirectorySpace, DirectoryTree, FileSearch };

enum class CellState : std::uint8_t {
  Cleared,  // " " in every column
  Filled,   // a name and its size
  Deleted,  // "Deleted " and " "
};

struct GridCell {
  int column = 0;
  std::size_t row = 0;
};

inline constexpr const char* kClearedCell = " ";
inline constexpr const char* kDeletedCell = "Deleted ";

// Rows gathered away from the grid (by a worker), handed over in one call.
// A row's name is its directory and file name joined, as the search shows it.
class RowBatch {
 public:
  void Add(std::string_view directory, std::string_view name, std::int64_t size);
  std::size_t Size() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  std::size_t TextBytes() const { return text_.size(); }

 private:
  friend class FileGrid;
  struct Row {
    std::int64_t size;
    std::uint32_t length;
  };
  std::string text_;
  std::vector<Row> rows_;
};

// The display order: for each row, the index of the record it shows.
using GridOrder = std::vector<std::uint32_t>;

class FileGrid {
 public:
  struct Record {
    std::uint32_t chunk = 0;   // which text chunk holds the name
    std::uint32_t offset = 0;  // where in it
    std::int64_t size = 0;
    std::uint32_t length = 0;
    CellState state = CellState::Cleared;
  };

  explicit FileGrid(GridKind kind);

  GridKind Kind() const { return kind_; }
  // 3 in the directory space window, 2 in the tree's file view, 4 in the search.
  int ColumnCount() const;
  std::size_t RowCount() const { return rows_; }

  // Asking for 0 rows leaves 1; new rows are cleared and unnumbered.
  void SetRowCount(std::size_t rows);
  // Every cell of every row becomes " "; the row count stays.
  void ClearCells();
  // Columns 0 and 1 of `row` (below RowCount) from a name's exact bytes
  // (the full path in the search) and its size.
  void FillRow(std::size_t row, std::string_view name, std::int64_t size);
  // A filled row after the last: its name is `directory` followed by `name`.
  // Returns its row.
  std::size_t AppendRow(std::string_view directory, std::string_view name, std::int64_t size,
                        bool numbered);
  // Every row of `batch` after the last, in its order, the batch's text taken
  // over without a copy. Returns the first new row (RowCount() when empty).
  std::size_t Append(RowBatch&& batch, bool numbered);
  // Whether the number column of `row` shows its number (else " ").
  void SetNumbered(std::size_t row, bool numbered);
  void MarkDeleted(std::size_t row);
  // Exchanges columns 0 and 1 of two rows; the number column stays.
  void Exchange(std::size_t a, std::size_t b);

  // The display order as it stands, to be permuted elsewhere (a sort on a
  // worker) while this grid is still shown.
  GridOrder Order() const;
  // Puts a permutation of Order() in place; false (nothing changed) when it
  // is not one of this grid's rows as they stand.
  bool SetOrder(GridOrder order);

  // The text a cell shows (bytes; a name is NameText of its exact bytes).
  std::string Cell(int column, std::size_t row) const;
  CellState State(std::size_t row) const { return RecordAt(row).state; }
  // The exact name bytes behind column 0 of a filled row, else empty.
  std::string_view ExactName(std::size_t row) const;
  std::int64_t Size(std::size_t row) const { return RecordAt(row).size; }
  bool Numbered(std::size_t row) const { return numbered_[row]; }
  // The number column's figure of a numbered row.
  std::size_t Number(std::size_t row) const {
    return kind_ == GridKind::FileSearch ? row : row + 1;
  }
  std::uint32_t IndexAt(std::size_t row) const {
    return order_.empty() ? static_cast<std::uint32_t>(row) : order_[row];
  }
  const Record& RecordAt(std::size_t row) const { return RecordOf(IndexAt(row)); }
  const Record& RecordOf(std::uint32_t index) const {
    const Slot slot = SlotOf(index);
    return blocks_[slot.block][slot.at];
  }
  std::string_view TextOf(const Record& record) const {
    return record.length == 0
               ? std::string_view()
               : std::string_view(chunks_[record.chunk]).substr(record.offset, record.length);
  }

  // The cell the user last selected.
  GridCell selected;

  // Bytes held beyond the name texts themselves (records, index, slack).
  std::size_t OverheadBytes() const;
  // Room for `rows` more rows and `textBytes` more name bytes.
  void Reserve(std::size_t rows, std::size_t textBytes);
  // Gives back the slack of a finished listing.
  void Compact();

 private:
  // Block k holds 2^(kFirstBlockBits + k) records: the blocks double, so a
  // row is found with one bit count and no block is ever copied.
  static constexpr unsigned kFirstBlockBits = 6;
  struct Slot {
    std::size_t block;
    std::size_t at;
  };
  static Slot SlotOf(std::size_t index) {
    const std::size_t shifted = index + (std::size_t{1} << kFirstBlockBits);
    const auto top = static_cast<unsigned>(std::bit_width(shifted) - 1);
    return {top - kFirstBlockBits, shifted - (std::size_t{1} << top)};
  }
  static constexpr std::size_t kFirstChunk = 4096;
  static constexpr std::size_t kLargestChunk = std::size_t{1} << 20;

  Record& MutableAt(std::size_t row) {
    const Slot slot = SlotOf(IndexAt(row));
    return blocks_[slot.block][slot.at];
  }
  void PushRecord(const Record& record, bool numbered);
  // Room for `bytes` at the end of the last chunk; returns the chunk's index.
  std::uint32_t ChunkFor(std::size_t bytes);

  GridKind kind_;
  std::size_t rows_ = 0;
  std::vector<std::string> chunks_;
  std::size_t nextChunk_ = kFirstChunk;  // chunks grow up to kLargestChunk
  // Each block reserved whole when made and never filled past it.
  std::vector<std::vector<Record>> blocks_;
  GridOrder order_;  // empty: row r shows record r
  std::vector<bool> numbered_;
};

}  // namespace zub
