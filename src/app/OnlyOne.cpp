#include "app/OnlyOne.h"

namespace zub {
namespace {

constexpr std::size_t kTitleChars = 20;
constexpr std::size_t kWindowNameChars = 30;

}  // namespace

TOnlyOne::TOnlyOne(Application& application, InstanceMarker& marker)
    : marker_(&marker), atomName_("OnlyOne" + application.Title().substr(0, kTitleChars)) {
  if (marker_->Find(atomName_)) {
    const std::string windowName = application.Title().substr(0, kWindowNameChars);
    // So that the search cannot find this copy's own window.
    application.SetTitle("destroy me");
    marker_->AskToRaise(atomName_, windowName);
    application.Terminate();
  }
  marker_->Add(atomName_);
}

TOnlyOne::~TOnlyOne() {
  marker_->Remove(atomName_);
}

}  // namespace zub
