// A text from outside (a mount name, a stored value) made safe for one line.
#pragma once

#include <string>

namespace zub {

// Tabs, line breaks and backslashes as "\t", "\n" and "\\", every other
// control byte as "\xHH" (a NUL as "\x00"); everything else, UTF-8
// included, as it is. A mount name with a tab or a line break would
// otherwise cut a list entry or a report record in two.
std::string EscapedText(const std::string& text);

}  // namespace zub
