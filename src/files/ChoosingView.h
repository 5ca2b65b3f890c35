// A grid or tree view whose selection moves are sorted by SelectionChoice:
// the user's moves reach `onFollow`, a choice reaches `onChoose` once the
// view has handled the input, Tab and Shift+Tab leave the view, and focus
// coming in selects nothing.
#pragma once

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QTreeView>
#include <functional>
#include <optional>

#include "files/SelectionChoice.h"

namespace zub {

InputKey InputKeyOf(const QKeyEvent& event);
PointerButton PointerButtonOf(const QMouseEvent& event);

template <typename View>
class ChoosingView : public View {
 public:
  ChoosingView(ChoiceTarget target, QWidget* parent)
      : View(parent), target_(target), choice_(target) {
    this->setTabKeyNavigation(false);
  }

  // The user moved the selection to `index` (a record to keep, no choice).
  std::function<void(const QModelIndex&)> onFollow;
  // The user chose `index`.
  std::function<void(const QModelIndex&)> onChoose;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    choice_.BeginKey(InputKeyOf(*event));
    View::keyPressEvent(event);
    Finish();
  }
  void mousePressEvent(QMouseEvent* event) override {
    const PointerButton button = PointerButtonOf(*event);
    if (target_ == ChoiceTarget::Tree && button != PointerButton::Left) {
      return;  // only the left button selects a line
    }
    choice_.BeginPress(button, CellAt(*event));
    View::mousePressEvent(event);
    Finish();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    choice_.BeginRelease(PointerButtonOf(*event), CellAt(*event));
    View::mouseReleaseEvent(event);
    Finish();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    choice_.BeginOther();
    View::mouseMoveEvent(event);
    Finish();
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    choice_.BeginOther();
    View::mouseDoubleClickEvent(event);
    Finish();
  }
  void focusInEvent(QFocusEvent* event) override {
    const bool hadCurrent = this->currentIndex().isValid();
    View::focusInEvent(event);
    // The view picks its first item for a newcomer; nobody chose it.
    if (!hadCurrent && this->currentIndex().isValid()) {
      this->selectionModel()->clearCurrentIndex();
    }
  }
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
    View::currentChanged(current, previous);
    if (current.isValid() && choice_.Moved(CellOf(current)) && onFollow) {
      onFollow(current);
    }
  }

 private:
  static GridCell CellOf(const QModelIndex& index) {
    return {index.column(), static_cast<std::size_t>(index.row())};
  }
  std::optional<GridCell> CellAt(const QMouseEvent& event) const {
    const QModelIndex index = this->indexAt(event.position().toPoint());
    return index.isValid() ? std::optional<GridCell>(CellOf(index)) : std::nullopt;
  }
  void Finish() {
    const std::optional<GridCell> chosen = choice_.End();
    if (!chosen || !onChoose) {
      return;
    }
    const QModelIndex index =
        target_ == ChoiceTarget::Tree
            ? this->currentIndex()
            : this->model()->index(static_cast<int>(chosen->row), chosen->column);
    if (index.isValid()) {
      onChoose(index);
    }
  }

  ChoiceTarget target_;
  SelectionChoice choice_;
};

using ChoosingTable = ChoosingView<QTableView>;
using ChoosingTree = ChoosingView<QTreeView>;

// A view of `grid` whose selected-cell record follows the user's moves and
// whose choice of a cell runs `choose` on it.
ChoosingTable* NewChoosingGrid(FileGrid& grid, std::function<void()> choose, QWidget* parent);

}  // namespace zub
