#ifndef ZORVIK_QT_LAYOUT_SCALE_H_
#define ZORVIK_QT_LAYOUT_SCALE_H_

class QWidget;

namespace zorvik::qt {

// Fixes `window`'s size and places its children named in the layout table,
// in device-independent pixels, grown by the scale of the window's font (the
// application font a desktop sets through its platform theme). Called again
// when the font changes.
void PlaceControls(QWidget& window);

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_LAYOUT_SCALE_H_
