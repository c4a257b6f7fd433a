#include "qt/error_report.h"

#include <QMessageBox>

#include "qt/utf8_text.h"
#include "window/error_report_text.h"

namespace zorvik::qt {

void ShowErrorReport(QWidget* parent, int number) {
  QMessageBox box(QMessageBox::Critical, FromUtf8(kErrorReportTitle),
                  FromUtf8(ErrorReportText(number)), QMessageBox::NoButton,
                  parent);
  // Captioned by the program, not by Qt's translations, which may be missing:
  // the window is Chinese whatever is installed. The one button is also the
  // one Esc presses.
  box.addButton(FromUtf8(kErrorReportButton), QMessageBox::AcceptRole);
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.exec();
}

}  // namespace zorvik::qt
