#include "app/Application.h"

namespace zub {

void Application::SetTitle(const std::string& title) {
  title_ = title;
  for (const auto& listener : titleListeners_) {
    listener(title_);
  }
}

void Application::OnTitleChanged(std::function<void(const std::string&)> listener) {
  titleListeners_.push_back(std::move(listener));
}

}  // namespace zub
