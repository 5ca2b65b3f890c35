#include "ui/FitText.h"

namespace zub {

int FitPointSize(const std::function<int(int points)>& widthAt, int designPoints, int innerWidth) {
  if (designPoints < 1) {
    return designPoints;  // the platform's default size; nothing to shrink
  }
  // Hinting makes widths step unevenly from size to size, so every smaller
  // size is tried rather than halving the range.
  for (int points = designPoints; points > 1; --points) {
    if (widthAt(points) <= innerWidth) {
      return points;
    }
  }
  return 1;
}

}  // namespace zub
