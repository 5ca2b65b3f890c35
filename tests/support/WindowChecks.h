// What a person sees wrong in a laid-out window: a control that runs past the
// window's inside, or a text that is cut short.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace zub::test_support {

// Visible controls of `window` (its own descendants, not other windows) whose
// frame runs past the window's inside, each as "name x,y wxh". The inner parts
// of scroll areas (viewport contents) are the scroll area's own business.
std::vector<std::string> ControlsOutside(const QWidget& window);

// Visible labels and buttons of `window` whose text is not shown whole: a
// one-line text wider than the room inside the control, or a word-wrapped one
// taller than the control.
std::vector<std::string> CutTexts(const QWidget& window);

}  // namespace zub::test_support
