#include "window/font_scale.h"

#include <algorithm>
#include <cmath>

#include "window/form_layout.h"

namespace zorvik {

double FontScale(double character_height, int dpi) {
  if (!(character_height > 0) || dpi <= 0) return 1.0;
  // The table's pixels are at 15 twips a pixel: 96 dots per inch.
  constexpr int kTableDpi = kTwipsPerInch / kTwipsPerPixel;
  const double scale = character_height * kTableDpi /
                       (static_cast<double>(kLayoutCharacterHeight) * dpi);
  return std::clamp(scale, 1.0, kMaxFontScale);
}

int TwipsToPixels(int twips, int dpi, double font_scale) {
  const double pixels =
      static_cast<double>(twips) * dpi * font_scale / kTwipsPerInch;
  return static_cast<int>(std::floor(pixels + 0.5));
}

}  // namespace zorvik
