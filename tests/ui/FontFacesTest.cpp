#include "ui/FontFaces.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

using Faces = std::vector<std::string>;

TEST(FontFacesTest, ArialAndItsMisspellingGetTheMetricCompatibleFace) {
  // "Ariel" is unknown to fontconfig and fell back to a much wider face,
  // which cut "Drive C" at the edge of every All Disks pie.
  EXPECT_EQ(FaceCandidates("Ariel"), (Faces{"Liberation Sans", "Arimo", "Arial", "Ariel"}));
  EXPECT_EQ(FaceCandidates("Arial"), (Faces{"Liberation Sans", "Arimo", "Arial"}));
  EXPECT_EQ(FaceCandidates("ARIEL").front(), "Liberation Sans") << "names match regardless of case";
}

TEST(FontFacesTest, ClassicScreenFacesGetTheClosestLinuxFace) {
  EXPECT_EQ(FaceCandidates("MS Sans Serif").front(), "Liberation Sans");
  EXPECT_EQ(FaceCandidates("MS Sans Serif").back(), "MS Sans Serif") << "still asked for last";
  EXPECT_EQ(FaceCandidates("System").front(), "Liberation Sans");
}

TEST(FontFacesTest, AFaceTheUserChoseIsAskedForAsItIs) {
  EXPECT_EQ(FaceCandidates("DejaVu Serif"), (Faces{"DejaVu Serif"}));
  EXPECT_EQ(FaceCandidates("Arial Black"), (Faces{"Arial Black"})) << "no prefix match";
  EXPECT_EQ(FaceCandidates(""), (Faces{""}));
}

}  // namespace
}  // namespace zub
