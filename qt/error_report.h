#ifndef ZORVIK_QT_ERROR_REPORT_H_
#define ZORVIK_QT_ERROR_REPORT_H_

class QWidget;

namespace zorvik::qt {

// Shows the report of an untrapped run-time error as a modal message box
// titled "Zorvik" with an error icon, and returns once the user has dismissed
// it.
void ShowErrorReport(QWidget* parent, int number);

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_ERROR_REPORT_H_
