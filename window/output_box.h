#ifndef ZORVIK_WINDOW_OUTPUT_BOX_H_
#define ZORVIK_WINDOW_OUTPUT_BOX_H_

#include <QPlainTextEdit>
#include <QString>

namespace zorvik {

// A multi-line, read-only text box that breaks lines at each CR LF pair and
// nowhere else: a lone CR or a lone LF breaks nothing and shows nothing. Long
// lines wrap, a vertical scroll bar is always there, and the user can select
// and copy (copying gives the lines as shown, joined by "\n").
//
// Text() gives back exactly what SetText() last wrote, code unit for code
// unit; what is shown is derived from it.
class OutputBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit OutputBox(QWidget* parent = nullptr);

  // Replaces the whole text at once.
  void SetText(const QString& text);
  const QString& Text() const { return text_; }

  // The text as displayed: CR LF pairs become "\n", lone CRs and LFs vanish.
  static QString DisplayForm(const QString& text);

 private:
  QString text_;
};

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_OUTPUT_BOX_H_
