#include "qt/application.h"

#include <QGuiApplication>
#include <new>

#include "core/runtime_error.h"
#include "qt/error_report.h"

namespace zorvik::qt {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const RuntimeError& error) {
    EndWithReport(error.number());
  } catch (const std::bad_alloc&) {
    EndWithReport(kErrorOutOfMemory);
  } catch (...) {
    EndWithReport(kErrorInternal);
  }
  return false;
}

void Application::EndWithReport(int number) {
  // Events still delivered while the report is up (or a second failure) find
  // the program already ending.
  if (ending_) return;
  ending_ = true;
  while (QGuiApplication::overrideCursor() != nullptr) {
    QGuiApplication::restoreOverrideCursor();
  }
  ShowErrorReport(activeWindow(), number);
  exit(1);
}

}  // namespace zorvik::qt
