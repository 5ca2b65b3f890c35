// Prompts answered from queues, recording every text shown. Strict: a
// question or dialog with no scripted answer fails the test, and so do
// answers left unused when the prompts go away, so an extra or a missing
// question never passes unnoticed. Script a cancelled dialog as nullopt.
#pragma once

#include <gtest/gtest.h>

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
  std::vector<bool> questionsDefaultNo;  // asked as a question whose default is No
  std::deque<Answer> answers;            // for Ask
  std::deque<std::optional<ColorRef>> colors;
  std::deque<std::optional<Font>> fonts;
  std::vector<ColorRef> colorDialogInitials;
  std::vector<Font> fontDialogInitials;

  ScriptedPrompts() = default;
  ScriptedPrompts(const ScriptedPrompts&) = delete;
  ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;
  ~ScriptedPrompts() override { ExpectAllUsed(); }

  // Fails the test for every scripted answer nobody asked for, then forgets them.
  void ExpectAllUsed() {
    EXPECT_TRUE(answers.empty()) << answers.size() << " question answer(s) never asked for";
    EXPECT_TRUE(colors.empty()) << colors.size() << " colour dialog answer(s) never used";
    EXPECT_TRUE(fonts.empty()) << fonts.size() << " font dialog answer(s) never used";
    answers.clear();
    colors.clear();
    fonts.clear();
  }

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  Answer Ask(const std::string& text, bool withCancel) override {
    questions.push_back(text);
    questionsWithCancel.push_back(withCancel);
    questionsDefaultNo.push_back(false);
    return Next(answers, Answer::Cancel, "question", text);
  }
  Answer AskDefaultNo(const std::string& text) override {
    questions.push_back(text);
    questionsWithCancel.push_back(false);
    questionsDefaultNo.push_back(true);
    return Next(answers, Answer::No, "question", text);
  }
  std::optional<ColorRef> ChooseColor(ColorRef initial) override {
    colorDialogInitials.push_back(initial);
    return Next(colors, std::optional<ColorRef>{}, "colour dialog", "");
  }
  std::optional<Font> ChooseFont(const Font& initial) override {
    fontDialogInitials.push_back(initial);
    return Next(fonts, std::optional<Font>{}, "font dialog", initial.name);
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T unanswered, const char* what, const std::string& text) {
    if (queue.empty()) {
      ADD_FAILURE() << "unscripted " << what << ": " << text;
      return unanswered;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

}  // namespace zub::fakes
