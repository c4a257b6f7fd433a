#ifndef ZORVIK_QT_APPLICATION_H_
#define ZORVIK_QT_APPLICATION_H_

#include <QApplication>

namespace zorvik::qt {

// The Qt host's application. What escapes an event handler (a std::bad_alloc
// while building a huge schedule, say) is caught at the edge of the event
// loop: the wait cursor is taken down, the error report is shown, and the
// event loop ends with status 1, rather than Qt aborting with the wait cursor
// still on.
class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void EndWithReport(int number);

  bool ending_ = false;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_APPLICATION_H_
