#include "ui/MenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <string>
#include <vector>

#include "ui/Mnemonics.h"

namespace zub {
namespace {

void AssignLevel(const QList<QAction*>& actions) {
  std::vector<std::string> captions;
  captions.reserve(static_cast<std::size_t>(actions.size()));
  for (const QAction* action : actions) {
    captions.push_back(action->isSeparator() ? std::string() : action->text().toStdString());
  }
  const std::vector<std::string> keyed = WithMnemonics(captions);
  for (qsizetype i = 0; i < actions.size(); ++i) {
    QAction* action = actions[i];
    if (!action->isSeparator()) {
      action->setText(QString::fromStdString(keyed[static_cast<std::size_t>(i)]));
    }
    if (QMenu* sub = action->menu()) {
      AssignMnemonics(sub);
    }
  }
}

}  // namespace

void AssignMnemonics(QMenuBar* bar) {
  AssignLevel(bar->actions());
}

void AssignMnemonics(QMenu* menu) {
  AssignLevel(menu->actions());
}

void OpenPopupFromKeyboard(QWidget* window) {
  // X11 already turns the Menu key into such an event before the key
  // itself arrives; the pop-up it opened then holds the keyboard.
  if (QApplication::activePopupWidget() != nullptr) {
    return;
  }
  QWidget* target = window->focusWidget();
  if (target == nullptr || target->window() != window->window() || !target->isVisible()) {
    target = window;
  }
  const QPoint pos = target->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Keyboard, pos, target->mapToGlobal(pos));
  // Qt passes an ignored context-menu event on to the parents, up to the window.
  QApplication::sendEvent(target, &event);
}

void InstallMenuKeys(QWidget* window, QMenuBar* bar) {
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
    auto* shortcut = new QShortcut(keys, window);  // owned by the window
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [window] { OpenPopupFromKeyboard(window); });
  }
  if (bar != nullptr) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);  // owned by the window
    QObject::connect(f10, &QShortcut::activated, bar, [bar] {
      for (QAction* action : bar->actions()) {
        if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
          if (action->menu() != nullptr) {
            bar->setActiveAction(action);
          } else {
            bar->setFocus(Qt::ShortcutFocusReason);
          }
          return;
        }
      }
    });
  }
}

}  // namespace zub
