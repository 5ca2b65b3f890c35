// The single-copy guard owned by the main window: a second copy asks the
// first to come forward and ends.
#pragma once

#include <string>

#include "app/Application.h"
#include "platform/InstanceMarker.h"

namespace zub {

class TOnlyOne {
 public:
  // Runs the check: when another copy holds the marker, or takes it first
  // while this one looks, asks it to raise the window titled as this copy's
  // current title, then asks this copy to end.
  TOnlyOne(Application& application, InstanceMarker& marker);
  ~TOnlyOne();
  TOnlyOne(const TOnlyOne&) = delete;
  TOnlyOne& operator=(const TOnlyOne&) = delete;

  // "OnlyOne" + the first 20 characters of the title at creation.
  const std::string& AtomName() const { return atomName_; }

 private:
  void EndAsSecondCopy(Application& application);

  InstanceMarker* marker_;
  std::string atomName_;
};

}  // namespace zub
