// Which moves of a grid's selected cell, or of a tree's selected line, are
// the user's choice. Only a choice may offer a file to the trash or list a
// directory: a click on a cell, or an arrow, page, Home or End key moving
// the selection. Everything else that moves it (a reset after a listing, a
// sort, a view switch, focus coming in, Tab, a right-click) is no choice.
#pragma once

#include <cstdint>
#include <optional>

#include "files/FileGrid.h"

namespace zub {

enum class ChoiceTarget : std::uint8_t {
  Grid,  // a click (press and release on one cell) chooses, even the cell already selected
  Tree,  // a line is chosen when the selection moves to it
};

enum class InputKey : std::uint8_t {
  Left,
  Right,
  Up,
  Down,
  PageUp,
  PageDown,
  Home,
  End,
  Tab,
  Backtab,
  Other,
};

enum class KeyRole : std::uint8_t {
  Moves,   // moves the selection, and the move chooses
  Leaves,  // moves the keyboard focus out of the view
  Other,   // may move the selection (a typed search) without choosing
};
KeyRole RoleOf(InputKey key);

enum class PointerButton : std::uint8_t { Left, Right, Other };

// Fed by a view's events in their order. Between Begin and End the view
// handles one input of the user's; any move of its selection outside such a
// pair was made by the program and neither chooses nor moves the record.
class SelectionChoice {
 public:
  explicit SelectionChoice(ChoiceTarget target) : target_(target) {}

  // The user's input, just before the view handles it. `at` is the cell
  // under the pointer, if any.
  void BeginKey(InputKey key);
  void BeginPress(PointerButton button, std::optional<GridCell> at);
  void BeginRelease(PointerButton button, std::optional<GridCell> at);
  // A pointer moving with a button held, a double click, a wheel: moves
  // made meanwhile are the user's, but choose nothing.
  void BeginOther();

  // The view moved its selection to `to`. True when the user made the move,
  // so the selected-cell record follows it.
  bool Moved(GridCell to);

  // The view has handled the input. The cell chosen by it, if any.
  std::optional<GridCell> End();

 private:
  enum class Input : std::uint8_t { None, ChoosingKey, OtherKey, LeftPress, LeftRelease, Other };

  ChoiceTarget target_;
  Input input_ = Input::None;
  std::optional<GridCell> pressedAt_;  // where the left button went down
  std::optional<GridCell> releasedAt_;
  std::optional<GridCell> moved_;  // where this input moved the selection
};

}  // namespace zub
