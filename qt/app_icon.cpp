#include "qt/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zorvik::qt {

QIcon AppIcon() {
  QSvgRenderer svg(QStringLiteral(":/zorvik/zorvik.svg"));
  QIcon icon;
  if (!svg.isValid()) return icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    svg.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace zorvik::qt
