#ifndef ZORVIK_QT_OUTPUT_BOX_H_
#define ZORVIK_QT_OUTPUT_BOX_H_

#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace zorvik::qt {

// The multi-line, read-only output box. It shows its text broken only at
// CR LF pairs (see DisplayForm); long lines wrap, a vertical scroll bar is
// always there, and the user can select and copy: the lines as shown, joined
// by "\n", and, when the selection holds a whole schedule entry, those
// entries as an HTML table (see ScheduleTable).
//
// Text() gives back exactly what SetText() last wrote, byte for byte; what is
// shown is derived from it.
class OutputBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit OutputBox(QWidget* parent = nullptr);

  // Replaces the whole text at once. UTF-8.
  void SetText(std::string_view text);
  const std::string& Text() const { return text_; }

 protected:
  // Plain text and HTML only: none of Qt's own rich text, Markdown or ODF,
  // which spreadsheets and word processors would take instead of the table.
  QMimeData* createMimeDataFromSelection() const override;
  // A double-click on a rent selects all of it (see RentAt).
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::string text_;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_OUTPUT_BOX_H_
