// Numbers as the windows show them: plain decimal, no grouping, halves to even.
#pragma once

#include <cstdint>
#include <string>

namespace zub {

// Nearest integer, an exact half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t RoundHalfEven(double value);

// General decimal form: up to 15 significant digits, no trailing zeros, no
// point for whole values, the locale's decimal separator (1536, 0.5).
std::string NumberText(double value, char decimalSeparator);
std::string NumberText(double value);

// The decimal separator of the user's locale.
char LocaleDecimalSeparator();

}  // namespace zub
