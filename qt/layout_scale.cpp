#include "qt/layout_scale.h"

#include <QFontInfo>
#include <QWidget>

#include "qt/utf8_text.h"
#include "window/font_scale.h"
#include "window/form_layout.h"

namespace zorvik::qt {
namespace {

// Qt lays out in device-independent pixels, 96 to the inch whatever the
// screen; a scale factor or a dense screen multiplies them as a whole.
constexpr int kIndependentDpi = 96;

}  // namespace

void PlaceControls(QWidget& window) {
  // The size the font is drawn at, which Qt rounds to whole pixels (11 pt
  // is drawn at 15 px, not 14.67).
  const double scale =
      FontScale(QFontInfo(window.font()).pixelSize(), kIndependentDpi);
  const auto pixels = [scale](int twips) {
    return TwipsToPixels(twips, kIndependentDpi, scale);
  };
  window.setFixedSize(pixels(kClientWidthTwips), pixels(kClientHeightTwips));
  for (const ControlRow& row : kForm1Controls) {
    auto* control = window.findChild<QWidget*>(FromUtf8(row.name),
                                               Qt::FindDirectChildrenOnly);
    if (control == nullptr) continue;
    control->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width),
                         pixels(row.height));
  }
}

}  // namespace zorvik::qt
