#ifndef ZORVIK_WIN32_LAYOUT_SCALE_H_
#define ZORVIK_WIN32_LAYOUT_SCALE_H_

#include <windows.h>

namespace zorvik::win32 {

// How much the layout grows for `font`, the message font made for `dpi`
// (which the text-size setting enlarges): its character height over the
// one the layout table was laid out for, at that density; see FontScale.
// The height is the font's em as asked for, or, for a font asked for by its
// cell height, the cell less its internal leading.
double MessageFontScale(HFONT font, UINT dpi);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_LAYOUT_SCALE_H_
