// The faces asked for in place of the classic face names the windows use.
#pragma once

#include <string>
#include <vector>

namespace zub {

// The faces to try for `name`, best first, ending with `name` itself.
// "Arial" and its old misspelling "Ariel" get the metric-compatible
// Liberation Sans, so texts laid out for its widths fit; "MS Sans Serif" and
// "System" get the closest face a Linux desktop has. Names match regardless
// of case; any other name is asked for as it is.
std::vector<std::string> FaceCandidates(const std::string& name);

}  // namespace zub
