#include "window/error_report_text.h"

#include "core/runtime_error.h"

namespace zorvik {
namespace {

std::string_view Description(int number) {
  switch (number) {
    case kErrorOverflow:
      return "溢出";
    case kErrorOutOfMemory:
      return "内存不足";
    case kErrorTypeMismatch:
      return "类型不匹配";
    case kErrorInternal:
      return "内部错误";
    default:
      return "应用程序定义的错误或对象定义的错误";
  }
}

}  // namespace

std::string ErrorReportText(int number) {
  std::string text = "运行时错误 '";
  text += std::to_string(number);
  text += "':\n\n";
  text += Description(number);
  return text;
}

}  // namespace zorvik
