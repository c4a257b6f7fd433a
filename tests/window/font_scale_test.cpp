#include "window/font_scale.h"

#include <gtest/gtest.h>

#include <limits>

#include "window/form_layout.h"

namespace zorvik {
namespace {

TEST(FontScaleTest, IsTheCharacterHeightOverTheTablesAtItsDensity) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double height;
    int dpi;
    double scale;
  } cases[] = {
      {12, 96, 1.0},         // the table's own 9 pt
      {15, 120, 1.0},        // the same 9 pt at 125 %
      {24, 192, 1.0},        // and at 200 %
      {19, 96, 19.0 / 12},   // 14 pt, as Qt draws it
      {29, 144, 29.0 / 18},  // a larger message font at 150 %
      {9, 96, 1.0},          // smaller fonts keep the table's size
      {200, 96, kMaxFontScale},
      {kInfinity, 96, kMaxFontScale},
      {0, 96, 1.0},  // nothing measured
      {-12, 96, 1.0},
      {kNan, 96, 1.0},
      {12, 0, 1.0},
  };
  for (const auto& [height, dpi, scale] : cases) {
    EXPECT_DOUBLE_EQ(FontScale(height, dpi), scale) << height << " at " << dpi;
  }
}

TEST(FontScaleTest, TwipsGrowByTheScaleRoundedToThePixel) {
  // At a scale of 1, the table's own conversion, halves rounded up:
  // 6750 twips at 120 dpi are 562.5 px.
  for (const int dpi : {96, 120, 144, 192}) {
    for (const int twips : {kClientWidthTwips, kClientHeightTwips, 255, 615}) {
      EXPECT_EQ(TwipsToPixels(twips, dpi, 1.0), TwipsToPixels(twips, dpi));
    }
  }
  // 19 px over 12: 450 x 281 grows to 712.5 (713) x 444.9 (445).
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96, 19.0 / 12), 713);
  EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96, 19.0 / 12), 445);
}

}  // namespace
}  // namespace zorvik
