// Every message box, question and common dialog the windows open. The Qt
// implementation shows real dialogs; tests answer from a script.
#pragma once

#include <optional>
#include <string>

#include "ui/Color.h"
#include "ui/Font.h"

namespace zub {

enum class Answer { Ok, Yes, No, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A notice with an OK button; its title is the application title.
  virtual void ShowMessage(const std::string& text) = 0;
  // A question with Yes and No, and Cancel when `withCancel`.
  virtual Answer Ask(const std::string& text, bool withCancel) = 0;
  // A question whose safe answer is No (a file about to go to the trash):
  // Yes and No with No as the default button, so that Enter, Escape and
  // closing the box all answer No. A prompter that cannot show one answers No.
  virtual Answer AskDefaultNo(const std::string& text) {
    (void)text;
    return Answer::No;
  }
  // The colour dialog, opening on `initial`; nothing when cancelled.
  virtual std::optional<ColorRef> ChooseColor(ColorRef initial) = 0;
  // The font dialog, opening on `initial`; nothing when cancelled.
  virtual std::optional<Font> ChooseFont(const Font& initial) = 0;
};

}  // namespace zub
