#include "monitor/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdio>

namespace zub {

std::int64_t RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  double result = floor;
  if (diff > 0.5) {
    result = floor + 1.0;
  } else if (diff == 0.5) {
    result = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
  }
  return static_cast<std::int64_t>(result);
}

std::string NumberText(double value, char decimalSeparator) {
  if (std::isnan(value) || std::isinf(value)) {
    return "0";  // never shown: every caller guards its division
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text = buffer;
  // %g already drops trailing zeros; only the separator may need changing.
  for (char& c : text) {
    if (c == '.' || c == ',') {
      c = decimalSeparator;
    }
  }
  if (text == "-0") {
    text = "0";
  }
  return text;
}

std::string NumberText(double value) {
  return NumberText(value, LocaleDecimalSeparator());
}

char LocaleDecimalSeparator() {
  const std::lconv* conv = std::localeconv();
  if (conv == nullptr || conv->decimal_point == nullptr || conv->decimal_point[0] == '\0') {
    return '.';
  }
  return conv->decimal_point[0];
}

}  // namespace zub
