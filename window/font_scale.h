#ifndef ZORVIK_WINDOW_FONT_SCALE_H_
#define ZORVIK_WINDOW_FONT_SCALE_H_

// How much the layout grows with the font its captions are drawn in. The
// layout table holds fixed twips; a caption's size follows the platform's
// font. When that font is taller than the one the table was laid out for,
// every position and size grows by the ratio of the two, so the captions
// keep the room the table gave them and the window keeps its proportions.

namespace zorvik {

// The character height (the font's em: Win32's -lfHeight, Qt's pixel size)
// the table was laid out for, in pixels at 96 dots per inch: a 9-point font,
// the size of the system font the table's two-character captions were made
// to fit. It is also what the hosts get by default today, Qt's application
// font without a desktop (9 pt) and Wine's message font for zh_CN (lfHeight
// -12), so those keep the table's pixels exactly.
inline constexpr int kLayoutCharacterHeight = 12;

// The largest growth: a 72-point font. Beyond it a window would not fit any
// screen, and positions stay far from the range of int.
inline constexpr double kMaxFontScale = 8.0;

// The factor for a font whose characters are `character_height` pixels high
// at `dpi` dots per inch: the ratio to kLayoutCharacterHeight at that density,
// at least 1 (a smaller font keeps the table's size) and at most
// kMaxFontScale. A height or density that is not positive, or not a number,
// gives 1.
//   FontScale(12, 96) == 1     FontScale(19, 96) == 19.0 / 12
//   FontScale(15, 120) == 1    FontScale(9, 96) == 1
double FontScale(double character_height, int dpi);

// `twips` in pixels at `dpi`, grown by `font_scale`, rounded to the nearest
// pixel (halves up). At a scale of 1 it is TwipsToPixels(twips, dpi).
int TwipsToPixels(int twips, int dpi, double font_scale);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_FONT_SCALE_H_
