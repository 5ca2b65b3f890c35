// The text grid of the file windows, built for a whole disk: every name is
// kept once in one byte buffer, a row is a fixed record, and the display
// order is an index array that sorts and exchanges permute. Cell texts are
// made when asked; a number column never moves, so it is not stored.
#pragma once

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

class FileGrid {
 public:
  struct Record {
    std::uint64_t offset = 0;  // into the text buffer
    std::int64_t size = 0;
    std::uint32_t length = 0;
    CellState state = CellState::Cleared;
  };

  explicit FileGrid(GridKind kind);

  GridKind Kind() const { return kind_; }
  // 3 in the directory space window, 2 in the tree's file view, 4 in the search.
  int ColumnCount() const;
  std::size_t RowCount() const { return order_.size(); }

  // Asking for 0 rows leaves 1; new rows are cleared and unnumbered.
  void SetRowCount(std::size_t rows);
  // Every cell of every row becomes " "; the row count stays.
  void ClearCells();
  // Columns 0 and 1 of `row` (below RowCount) from a name's exact bytes
  // (the full path in the search) and its size.
  void FillRow(std::size_t row, std::string_view name, std::int64_t size);
  // Whether the number column of `row` shows its number (else " ").
  void SetNumbered(std::size_t row, bool numbered);
  void MarkDeleted(std::size_t row);
  // Exchanges columns 0 and 1 of two rows; the number column stays.
  void Exchange(std::size_t a, std::size_t b);

  // The text a cell shows (bytes; a name is NameText of its exact bytes).
  std::string Cell(int column, std::size_t row) const;
  CellState State(std::size_t row) const { return records_[order_[row]].state; }
  // The exact name bytes behind column 0 of a filled row, else empty.
  std::string_view ExactName(std::size_t row) const;
  std::int64_t Size(std::size_t row) const { return records_[order_[row]].size; }
  const Record& RecordAt(std::size_t row) const { return records_[order_[row]]; }
  std::string_view TextOf(const Record& record) const {
    return std::string_view(text_).substr(record.offset, record.length);
  }

  // The cell the user last selected.
  GridCell selected;

  // Bytes held beyond the name texts themselves (records, index, slack).
  std::size_t OverheadBytes() const;
  // Room for `rows` rows and `textBytes` of names, so a listing grows no buffer twice.
  void Reserve(std::size_t rows, std::size_t textBytes);
  // Gives back the slack of a finished listing.
  void Compact();

 private:
  GridKind kind_;
  std::string text_;
  std::vector<Record> records_;
  std::vector<std::uint32_t> order_;
  std::vector<bool> numbered_;
};

}  // namespace zub
