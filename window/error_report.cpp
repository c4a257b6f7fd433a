#include "window/error_report.h"

#include <QMessageBox>

#include "core/runtime_error.h"
#include "window/form_layout.h"
#include "window/utf8_text.h"

namespace zorvik {
namespace {

QString Description(int number) {
  switch (number) {
    case kErrorOverflow:
      return QStringLiteral("溢出");
    case kErrorTypeMismatch:
      return QStringLiteral("类型不匹配");
    default:
      return QStringLiteral("应用程序定义的错误或对象定义的错误");
  }
}

}  // namespace

QString ErrorReportText(int number) {
  return QStringLiteral("运行时错误 '%1':\n\n%2")
      .arg(number)
      .arg(Description(number));
}

void ShowErrorReport(QWidget* parent, int number) {
  QMessageBox box(QMessageBox::Critical, FromUtf8(kWindowCaption),
                  ErrorReportText(number), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.exec();
}

}  // namespace zorvik
