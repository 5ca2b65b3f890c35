// Colour references as the settings and the drawing code keep them: 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace zub {

using ColorRef = std::uint32_t;

constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kRed = 0x0000FF;
constexpr ColorRef kGreen = 0x008000;
constexpr ColorRef kBlue = 0xFF0000;
constexpr ColorRef kYellow = 0x00FFFF;
constexpr ColorRef kSilver = 0xC0C0C0;
constexpr ColorRef kPurple = 0x800080;

constexpr int RedOf(ColorRef c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
constexpr ColorRef MakeColorRef(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace zub
