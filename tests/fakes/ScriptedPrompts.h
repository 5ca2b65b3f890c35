// Prompts answered from queues, recording every text shown.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompts.h"

namespace zub::fakes {

class ScriptedPrompts : public Prompts {
 public:
  std::vector<std::string> messages;  // ShowMessage texts, in order
  std::vector<std::string> questions;
  std::vector<bool> questionsWithCancel;
  std::deque<Answer> answers;                  // for Ask; No when empty
  std::deque<std::optional<ColorRef>> colors;  // for ChooseColor; cancel when empty
  std::deque<std::optional<Font>> fonts;       // for ChooseFont; cancel when empty
  std::vector<ColorRef> colorDialogInitials;
  std::vector<Font> fontDialogInitials;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  Answer Ask(const std::string& text, bool withCancel) override {
    questions.push_back(text);
    questionsWithCancel.push_back(withCancel);
    return Next(answers, Answer::No);
  }
  std::optional<ColorRef> ChooseColor(ColorRef initial) override {
    colorDialogInitials.push_back(initial);
    return Next(colors, std::optional<ColorRef>{});
  }
  std::optional<Font> ChooseFont(const Font& initial) override {
    fontDialogInitials.push_back(initial);
    return Next(fonts, std::optional<Font>{});
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
      return fallback;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

}  // namespace zub::fakes
