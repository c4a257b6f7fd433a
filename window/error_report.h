#ifndef ZORVIK_WINDOW_ERROR_REPORT_H_
#define ZORVIK_WINDOW_ERROR_REPORT_H_

#include <QString>

class QWidget;

namespace zorvik {

// The report of a run-time error no handler traps: the error number on one
// line and its description below, in Chinese, e.g.
//   运行时错误 '6':
//
//   溢出
QString ErrorReportText(int number);

// Shows the report as a modal message box titled "Zorvik" and returns once
// the user has dismissed it.
void ShowErrorReport(QWidget* parent, int number);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_ERROR_REPORT_H_
