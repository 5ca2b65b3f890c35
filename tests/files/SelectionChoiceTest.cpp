#include "files/SelectionChoice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zub {
namespace {

// One event a view reports: a key, a press or release on a row (-1: no
// cell), a drag, a move of the selection, or the end of the input.
struct Step {
  enum Op { Key, Press, Release, Drag, Move, End } op;
  int arg = 0;  // InputKey or PointerButton
  int row = -1;
};
Step K(InputKey key) {
  return {Step::Key, static_cast<int>(key)};
}
Step P(PointerButton b, int row) {
  return {Step::Press, static_cast<int>(b), row};
}
Step R(PointerButton b, int row) {
  return {Step::Release, static_cast<int>(b), row};
}
Step M(int row) {
  return {Step::Move, 0, row};
}
const Step E{Step::End};
const Step D{Step::Drag};

struct Case {
  std::string name;
  ChoiceTarget target;
  std::vector<Step> steps;
  bool followed;  // the record moved with the selection
  std::vector<int> chosen;
};

std::optional<GridCell> At(int row) {
  return row < 0 ? std::nullopt
                 : std::optional<GridCell>(GridCell{0, static_cast<std::size_t>(row)});
}

TEST(SelectionChoiceTest, OnlyAClickOrAMovingKeyChooses) {
  using B = PointerButton;
  using I = InputKey;
  const auto G = ChoiceTarget::Grid;
  const auto T = ChoiceTarget::Tree;
  std::vector<Case> cases = {
      {"click on another cell", G, {P(B::Left, 2), M(2), E, R(B::Left, 2), E}, true, {2}},
      {"click on the selected cell", G, {P(B::Left, 0), E, R(B::Left, 0), E}, false, {0}},
      {"press on a cell, drag to another",
       G,
       {P(B::Left, 1), M(1), E, D, M(3), E, R(B::Left, 3), E},
       true,
       {}},
      {"press on a cell, release past the rows",
       G,
       {P(B::Left, 1), M(1), E, R(B::Left, -1), E},
       true,
       {}},
      {"release on a cell pressed elsewhere", G, {P(B::Left, -1), E, R(B::Left, 2), E}, false, {}},
      {"right-click", G, {P(B::Right, 2), M(2), E, R(B::Right, 2), E}, true, {}},
      {"right press then left release there",
       G,
       {P(B::Right, 2), M(2), E, R(B::Left, 2), E},
       true,
       {}},
      {"Down at the last row", G, {K(I::Down), E}, false, {}},
      {"Tab", G, {K(I::Tab), M(1), E}, false, {}},
      {"Shift+Tab", G, {K(I::Backtab), M(1), E}, false, {}},
      {"a typed letter", G, {K(I::Other), M(5), E}, true, {}},
      // A listing, a sort, a view switch, the window's activation, focus
      // coming in, a column move: the program moves the selection.
      {"a move nobody's input made", G, {M(0)}, false, {}},
      {"a move after a click has ended",
       G,
       {P(B::Left, 1), M(1), E, R(B::Left, 1), E, M(4)},
       true,
       {1}},
      {"tree: a press that moves the selection",
       T,
       {P(B::Left, 3), M(3), E, R(B::Left, 3), E},
       true,
       {3}},
      {"tree: a press on the selected line", T, {P(B::Left, 3), E, R(B::Left, 3), E}, false, {}},
      {"tree: Down", T, {K(I::Down), M(1), E}, true, {1}},
      {"tree: focus coming in, then Tab", T, {M(0), K(I::Tab), E}, false, {}},
  };
  for (const InputKey key :
       {I::Left, I::Right, I::Up, I::Down, I::PageUp, I::PageDown, I::Home, I::End}) {
    cases.push_back(
        {"moving key " + std::to_string(static_cast<int>(key)), G, {K(key), M(4), E}, true, {4}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SelectionChoice choice(c.target);
    bool followed = false;
    std::vector<int> chosen;
    for (const Step& s : c.steps) {
      switch (s.op) {
        case Step::Key:
          choice.BeginKey(static_cast<InputKey>(s.arg));
          break;
        case Step::Press:
          choice.BeginPress(static_cast<PointerButton>(s.arg), At(s.row));
          break;
        case Step::Release:
          choice.BeginRelease(static_cast<PointerButton>(s.arg), At(s.row));
          break;
        case Step::Drag:
          choice.BeginOther();
          break;
        case Step::Move:
          followed = choice.Moved(*At(s.row)) || followed;
          break;
        case Step::End:
          if (const auto cell = choice.End()) {
            chosen.push_back(static_cast<int>(cell->row));
          }
          break;
      }
    }
    EXPECT_EQ(followed, c.followed);
    EXPECT_EQ(chosen, c.chosen);
  }
}

}  // namespace
}  // namespace zub
