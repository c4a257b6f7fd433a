#ifndef ZORVIK_QT_COMMAND_LINE_H_
#define ZORVIK_QT_COMMAND_LINE_H_

#include <QStringList>
#include <optional>

namespace zorvik::qt {

// Reads the program's command line before any window system is touched, so
// that it answers without a display:
//   --help, -h      a short usage on standard output; status 0
//   --version, -v   "Zorvik <version>" on standard output; status 0
//   anything else   what is wrong and a hint to --help on standard error;
//                   status 2
// Qt's own options (-style NAME, -platform NAME, -reverse, ...) are accepted
// and left to QApplication. Returns the exit status when the command line has
// been answered, and nothing when the window is to open.
std::optional<int> AnswerCommandLine(const QStringList& arguments);

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_COMMAND_LINE_H_
