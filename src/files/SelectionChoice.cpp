#include "files/SelectionChoice.h"

namespace zub {
namespace {

bool Same(const std::optional<GridCell>& a, const std::optional<GridCell>& b) {
  return a && b && a->column == b->column && a->row == b->row;
}

}  // namespace

KeyRole RoleOf(InputKey key) {
  switch (key) {
    case InputKey::Left:
    case InputKey::Right:
    case InputKey::Up:
    case InputKey::Down:
    case InputKey::PageUp:
    case InputKey::PageDown:
    case InputKey::Home:
    case InputKey::End:
      return KeyRole::Moves;
    case InputKey::Tab:
    case InputKey::Backtab:
      return KeyRole::Leaves;
    case InputKey::Other:
      break;
  }
  return KeyRole::Other;
}

void SelectionChoice::BeginKey(InputKey key) {
  switch (RoleOf(key)) {
    case KeyRole::Moves:
      input_ = Input::ChoosingKey;
      break;
    case KeyRole::Leaves:
      // Whatever Tab might move on its way out is nobody's selection.
      input_ = Input::None;
      break;
    case KeyRole::Other:
      input_ = Input::OtherKey;
      break;
  }
}

void SelectionChoice::BeginPress(PointerButton button, std::optional<GridCell> at) {
  if (button == PointerButton::Left) {
    input_ = Input::LeftPress;
    pressedAt_ = at;
  } else {
    input_ = Input::Other;
    pressedAt_.reset();
  }
}

void SelectionChoice::BeginRelease(PointerButton button, std::optional<GridCell> at) {
  input_ = button == PointerButton::Left ? Input::LeftRelease : Input::Other;
  releasedAt_ = at;
}

void SelectionChoice::BeginOther() {
  input_ = Input::Other;
}

bool SelectionChoice::Moved(GridCell to) {
  if (input_ == Input::None) {
    return false;
  }
  moved_ = to;
  return true;
}

std::optional<GridCell> SelectionChoice::End() {
  std::optional<GridCell> chosen;
  switch (input_) {
    case Input::ChoosingKey:
      chosen = moved_;
      break;
    case Input::LeftPress:
      // A tree's line is chosen as the press moves the selection to it; a
      // grid's cell only when the button comes up on the cell it went down on.
      if (target_ == ChoiceTarget::Tree) {
        chosen = moved_;
      }
      break;
    case Input::LeftRelease:
      if (target_ == ChoiceTarget::Grid && Same(pressedAt_, releasedAt_)) {
        chosen = releasedAt_;
      }
      pressedAt_.reset();
      break;
    case Input::None:
    case Input::OtherKey:
    case Input::Other:
      break;
  }
  input_ = Input::None;
  moved_.reset();
  releasedAt_.reset();
  return chosen;
}

}  // namespace zub
