#include "app/OnlyOne.h"

namespace zub {
namespace {

constexpr std::size_t kTitleChars = 20;
constexpr std::size_t kWindowNameChars = 30;

}  // namespace

TOnlyOne::TOnlyOne(Application& application, InstanceMarker& marker)
    : marker_(&marker), atomName_("OnlyOne" + application.Title().substr(0, kTitleChars)) {
  const bool found = marker_->Find(atomName_);
  if (found) {
    EndAsSecondCopy(application);
  }
  // A copy that started at the same moment may have taken the marker between
  // the look-up and here: then this one is the second copy after all.
  if (!marker_->Add(atomName_) && !found) {
    EndAsSecondCopy(application);
  }
}

void TOnlyOne::EndAsSecondCopy(Application& application) {
  const std::string windowName = application.Title().substr(0, kWindowNameChars);
  // So that the search cannot find this copy's own window.
  application.SetTitle("destroy me");
  marker_->AskToRaise(atomName_, windowName);
  application.Terminate();
}

TOnlyOne::~TOnlyOne() {
  marker_->Remove(atomName_);
}

}  // namespace zub
