#include "qt/error_report.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSet>

#include "qt/held_keys.h"
#include "qt/utf8_text.h"
#include "window/error_report_text.h"

namespace zorvik::qt {
namespace {

// Keeps from the report every key that was held down when it opened (the
// Enter that pressed 计算, held on), repeats and release alike: the report
// stays until a fresh press of a key or a click closes it. A repeat that a
// listener hands on after the key's release is still no fresh press.
class HeldKeysKeptOut : public QObject {
 public:
  HeldKeysKeptOut() : held_(HeldKeys::Instance().Down()), kept_(held_) {
    if (!held_.isEmpty())
      QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (!held_.contains(key.key())) {
      // Judged once, where it arrives: not again in the window before it.
      return type == QEvent::KeyPress && kept_.contains(key.key()) &&
             watched == QApplication::focusWidget() &&
             !HeldKeys::Instance().NotePress(key);
    }
    if (type == QEvent::KeyRelease && HeldKeys::Instance().NoteRelease(key)) {
      held_.remove(key.key());
    }
    return true;
  }

 private:
  QSet<int> held_;
  const QSet<int> kept_;
};

}  // namespace

void ShowErrorReport(QWidget* parent, int number) {
  QMessageBox box(QMessageBox::Critical, FromUtf8(kErrorReportTitle),
                  FromUtf8(ErrorReportText(number)), QMessageBox::NoButton,
                  parent);
  // Captioned by the program, not by Qt's translations, which may be missing:
  // the window is Chinese whatever is installed. The one button is also the
  // one Esc presses.
  box.addButton(FromUtf8(kErrorReportButton), QMessageBox::AcceptRole);
  box.setObjectName(QStringLiteral("ErrorReport"));
  const HeldKeysKeptOut held_keys_kept_out;
  box.exec();
}

}  // namespace zorvik::qt
