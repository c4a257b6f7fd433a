#ifndef ZORVIK_QT_APP_ICON_H_
#define ZORVIK_QT_APP_ICON_H_

#include <QIcon>

namespace zorvik::qt {

// Zorvik's own icon, drawn from the SVG compiled into the program, at the
// sizes title bars, task bars and switchers ask for. It does not depend on an
// icon theme or on the program being installed.
QIcon AppIcon();

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_APP_ICON_H_
