#include "win32/layout_scale.h"

#include "window/font_scale.h"

namespace zorvik::win32 {

double MessageFontScale(HFONT font, UINT dpi) {
  const int density = static_cast<int>(dpi);
  LOGFONTW logical{};
  if (GetObjectW(font, sizeof logical, &logical) == 0) return 1.0;
  // Asked for by character height: that is the height, exactly. (Measured,
  // a CJK font's rounded cell can come out a pixel short of it.)
  if (logical.lfHeight < 0) return FontScale(-logical.lfHeight, density);
  HDC screen = GetDC(nullptr);
  HGDIOBJ before = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  const BOOL measured = GetTextMetricsW(screen, &metrics);
  SelectObject(screen, before);
  ReleaseDC(nullptr, screen);
  if (!measured) return 1.0;
  return FontScale(metrics.tmHeight - metrics.tmInternalLeading, density);
}

}  // namespace zorvik::win32
