// Menus for the keyboard: mnemonics on every entry, F10 for the menu bar,
// and the Menu key and Shift+F10 for a window's pop-up menu.
#pragma once

class QMenu;
class QMenuBar;
class QWidget;

namespace zub {

// Gives every entry of the menu bar, and of every menu and submenu under it,
// a mnemonic of its own within its level (see WithMnemonics). The visible
// captions stay as they were; an '&' an author wrote is kept.
void AssignMnemonics(QMenuBar* bar);
void AssignMnemonics(QMenu* menu);

// On `window`: F10 opens the first menu of `bar` (when given), and Shift+F10
// and the Menu key send the focused control a keyboard context-menu event,
// which reaches the window's contextMenuEvent when no control takes it.
void InstallMenuKeys(QWidget* window, QMenuBar* bar = nullptr);

// A keyboard context-menu event for the control with the focus in `window`
// (the window itself when none has it), placed at the control's centre.
void OpenPopupFromKeyboard(QWidget* window);

}  // namespace zub
