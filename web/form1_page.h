#ifndef ZORVIK_WEB_FORM1_PAGE_H_
#define ZORVIK_WEB_FORM1_PAGE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "window/form1.h"

namespace zorvik::web {

// Form1 in a web page: the controls made from the layout table as elements of
// the page's #Form1 (labels, text inputs, a read-only scrolling text block for
// the output, buttons), the inputs' changes and the buttons' clicks delivered
// to Form1's handlers, and the error report as a modal dialog of the page.
// Nothing of the behaviour lives here.
class Form1Page : private FormControls {
 public:
  // The page's one window: made on the first call, with its controls in their
  // initial state, and its load handler run.
  static Form1Page& Instance();
  Form1Page(const Form1Page&) = delete;
  Form1Page& operator=(const Form1Page&) = delete;

  // Puts the focus in the first box of the tab order, its 0 selected.
  void Show();

  // The page's events, by the control's row in the layout table.
  void TextChanged(int row);
  // A paste judged before the box takes it (Form1::GuardPaste): `text` is
  // the whole text the box would hold after it. True lets it in.
  bool Pasted(int row, std::string_view text);
  void Clicked(int row);
  // An input method's composition in an input box starts, and ends `how`
  // (a Form1::Ending by its number).
  void CompositionStarted(int row);
  void CompositionEnded(int row, int how);

  Form1& form() { return form_; }
  // What the program last wrote into the output box, whatever it shows.
  const std::string& output_text() const { return output_text_; }
  // The HTML document a copy of the output box's text from `begin` to `end`
  // (UTF-16 units of the shown text) carries beside the plain text; "" when
  // the selection holds no whole schedule entry (see ScheduleTable).
  std::string ScheduleHtml(std::size_t begin, std::size_t end) const;

 private:
  Form1Page();
  ~Form1Page() override = default;

  // Runs a sample computation and lays a line of it out unseen, so that the
  // user's first one finds the work it shares done: the browser compiles each
  // WebAssembly function on its first call and optimises it once it has run
  // a while, and looks up the face for each character the first time it
  // draws it (第 and ： are in no caption). That took the first computation
  // of 100 years past a frame.
  void PrepareFirstComputation();

  // FormControls:
  std::string Text(Box box) const override;
  void SetText(Box box, std::string_view text) override;
  void ReplaceByEdit(Box box, std::string_view before,
                     std::string_view text) override;
  bool HasFocus(Box box) const override;
  void SelectAll(Box box) override;
  void AbandonComposition(Box box) override;
  void ShowContactNote() override;
  void SetBusy(bool busy) override;
  void ShowErrorReport(int number) override;

  // One block of the output box's text, which the page lays out only while
  // it is in view.
  static void AppendOutputBlock(int row, std::string_view block);

  std::string output_text_;
  // How many years the output box lists, set when the program writes it.
  int listed_years_ = 0;
  // Whether the program wrote the output box a text other than its own
  // since the click began.
  bool output_changed_ = false;
  Form1 form_{*this};
};

}  // namespace zorvik::web

#endif  // ZORVIK_WEB_FORM1_PAGE_H_
