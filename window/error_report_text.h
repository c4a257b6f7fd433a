#ifndef ZORVIK_WINDOW_ERROR_REPORT_TEXT_H_
#define ZORVIK_WINDOW_ERROR_REPORT_TEXT_H_

#include <string>
#include <string_view>

#include "window/form_layout.h"

namespace zorvik {

// The title of the report of a run-time error no handler traps: the
// program's caption.
inline constexpr std::string_view kErrorReportTitle = kWindowCaption;

// The caption of its one button, as Chinese Windows words it; the hosts that
// draw the button themselves use it whatever translations are installed.
inline constexpr std::string_view kErrorReportButton = "确定";

// Its text, UTF-8: the error number on one line and its description below,
// in Chinese, e.g.
//   运行时错误 '6':
//
//   溢出
std::string ErrorReportText(int number);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_ERROR_REPORT_TEXT_H_
