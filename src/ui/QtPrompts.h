// Prompts shown as Qt message boxes and common dialogs.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "ui/Prompts.h"

namespace zub {

class QtPrompts : public Prompts {
 public:
  // `title` gives the current application title for message boxes.
  QtPrompts(std::function<std::string()> title, QWidget* parent = nullptr)
      : title_(std::move(title)), parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowMessage(const std::string& text) override;
  Answer Ask(const std::string& text, bool withCancel) override;
  Answer AskDefaultNo(const std::string& text) override;
  std::optional<ColorRef> ChooseColor(ColorRef initial) override;
  std::optional<Font> ChooseFont(const Font& initial) override;

 private:
  QWidget* Parent() const;

  std::function<std::string()> title_;
  QPointer<QWidget> parent_;
};

}  // namespace zub
