#include "qt/error_report.h"

#include <QMessageBox>

#include "qt/utf8_text.h"
#include "window/error_report_text.h"

namespace zorvik::qt {

void ShowErrorReport(QWidget* parent, int number) {
  QMessageBox box(QMessageBox::Critical, FromUtf8(kErrorReportTitle),
                  FromUtf8(ErrorReportText(number)), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.exec();
}

}  // namespace zorvik::qt
