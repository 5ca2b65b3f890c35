// Keyboard mnemonics for the entries of one menu level.
#pragma once

#include <string>
#include <vector>

namespace zub {

// The captions with an '&' before a letter or digit of each, so that no two
// entries of the menu share a key while another key is free: a word's first
// letter where it is free, else any free letter, else (all taken) the first
// letter again, which the menu then cycles through. A caption that already
// holds an '&' is kept and its key reserved; an empty one (a separator)
// stays empty. The visible text is unchanged.
std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions);

}  // namespace zub
