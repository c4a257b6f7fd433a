#ifndef ZORVIK_TESTS_QT_MODAL_WATCHDOG_H_
#define ZORVIK_TESTS_QT_MODAL_WATCHDOG_H_

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace zorvik {

// Closes every modal dialog that opens while it lives and remembers what each
// said ("title|text"), so that a test can expect a report, and an unexpected
// one fails the test instead of hanging it.
class ModalWatchdog {
 public:
  ModalWatchdog() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { CloseActiveModal(); });
    timer_.start();
  }

  const QStringList& seen() const { return seen_; }
  // While paused, a dialog stays open.
  void SetPaused(bool paused) { paused_ = paused; }
  // The captions of each message box's buttons, joined by "|".
  const QStringList& buttons() const { return buttons_; }

 private:
  void CloseActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || paused_) return;
    QString text;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      text = box->text();
      QStringList captions;
      for (const QAbstractButton* button : box->buttons()) {
        captions << button->text();
      }
      buttons_ << captions.join(u'|');
    }
    seen_ << modal->windowTitle() + u'|' + text;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }

  QTimer timer_;
  QStringList seen_;
  QStringList buttons_;
  bool paused_ = false;
};

}  // namespace zorvik

#endif  // ZORVIK_TESTS_QT_MODAL_WATCHDOG_H_
