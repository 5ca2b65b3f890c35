// Keyboard mnemonics for menus: each entry gets an underlined letter of its
// own caption (the caption's text is unchanged but for the marker), unique
// within its menu, so Alt+letter and the letter in an open menu choose it.
#pragma once

#include <string>
#include <vector>

class QMenu;
class QMenuBar;

namespace zub {

// For each caption, the index of the letter to mark, or -1 when none is
// left. Word starts are preferred, then any letter or digit; the case of a
// letter does not matter. Captions that already hold a marker keep it.
std::vector<int> MnemonicPositions(const std::vector<std::string>& captions);

// Marks the entries of `menu` (and of its submenus) by MnemonicPositions.
void GiveMnemonics(QMenu* menu);
void GiveMnemonics(QMenuBar* bar);

}  // namespace zub
