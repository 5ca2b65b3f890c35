#include "ui/Mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cctype>
#include <set>

namespace zub {
namespace {

bool Markable(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

char Key(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The index of the letter after an existing single "&", or -1.
int ExistingMarker(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (caption[i + 1] == '&') {
        ++i;
        continue;
      }
      return static_cast<int>(i + 1);
    }
  }
  return -1;
}

void Mark(const std::vector<QAction*>& actions) {
  std::vector<std::string> captions;
  for (QAction* action : actions) {
    captions.push_back(action->text().toStdString());
  }
  const std::vector<int> positions = MnemonicPositions(captions);
  for (std::size_t i = 0; i < actions.size(); ++i) {
    if (positions[i] >= 0 && ExistingMarker(captions[i]) < 0) {
      QString text = actions[i]->text();
      text.insert(positions[i], '&');
      actions[i]->setText(text);
    }
    if (QMenu* sub = actions[i]->menu()) {
      GiveMnemonics(sub);
    }
  }
}

std::vector<QAction*> EntriesOf(const QWidget* widget) {
  std::vector<QAction*> entries;
  for (QAction* action : widget->actions()) {
    if (!action->isSeparator()) {
      entries.push_back(action);
    }
  }
  return entries;
}

}  // namespace

std::vector<int> MnemonicPositions(const std::vector<std::string>& captions) {
  std::vector<int> positions(captions.size(), -1);
  std::set<char> used;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const int existing = ExistingMarker(captions[i]);
    if (existing >= 0) {
      positions[i] = existing;
      used.insert(Key(captions[i][existing]));
    }
  }
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const std::string& text = captions[i];
    if (positions[i] >= 0) {
      continue;
    }
    // Word starts first, then anything markable.
    for (int pass = 0; pass < 2 && positions[i] < 0; ++pass) {
      for (std::size_t j = 0; j < text.size(); ++j) {
        const bool wordStart = j == 0 || !Markable(text[j - 1]);
        if (Markable(text[j]) && (pass == 1 || wordStart) && used.count(Key(text[j])) == 0) {
          positions[i] = static_cast<int>(j);
          used.insert(Key(text[j]));
          break;
        }
      }
    }
  }
  return positions;
}

void GiveMnemonics(QMenu* menu) {
  Mark(EntriesOf(menu));
}

void GiveMnemonics(QMenuBar* bar) {
  Mark(EntriesOf(bar));
}

}  // namespace zub
