#include "files/ChoosingView.h"

namespace zub {

InputKey InputKeyOf(const QKeyEvent& event) {
  if (event.modifiers() & Qt::AltModifier) {
    return InputKey::Other;
  }
  switch (event.key()) {
    case Qt::Key_Left:
      return InputKey::Left;
    case Qt::Key_Right:
      return InputKey::Right;
    case Qt::Key_Up:
      return InputKey::Up;
    case Qt::Key_Down:
      return InputKey::Down;
    case Qt::Key_PageUp:
      return InputKey::PageUp;
    case Qt::Key_PageDown:
      return InputKey::PageDown;
    case Qt::Key_Home:
      return InputKey::Home;
    case Qt::Key_End:
      return InputKey::End;
    case Qt::Key_Tab:
      return InputKey::Tab;
    case Qt::Key_Backtab:
      return InputKey::Backtab;
    default:
      return InputKey::Other;
  }
}

PointerButton PointerButtonOf(const QMouseEvent& event) {
  switch (event.button()) {
    case Qt::LeftButton:
      return PointerButton::Left;
    case Qt::RightButton:
      return PointerButton::Right;
    default:
      return PointerButton::Other;
  }
}

ChoosingTable* NewChoosingGrid(FileGrid& grid, std::function<void()> choose, QWidget* parent) {
  auto* view = new ChoosingTable(ChoiceTarget::Grid, parent);
  view->onFollow = [&grid](const QModelIndex& index) {
    grid.selected = {index.column(), static_cast<std::size_t>(index.row())};
  };
  view->onChoose = [&grid, choose = std::move(choose)](const QModelIndex& index) {
    grid.selected = {index.column(), static_cast<std::size_t>(index.row())};
    choose();
  };
  return view;
}

}  // namespace zub
