#ifndef ZORVIK_WINDOW_FORM1_H_
#define ZORVIK_WINDOW_FORM1_H_

// The program's one window without its platform: the six handlers (load, the
// three input guards, compute, clear) and ComputeCount. Each host (Qt, Win32)
// creates the controls from the layout table, implements FormControls over
// them and delivers the controls' events to these handlers.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorvik {

// The four text boxes, in the order of their numbers.
enum class Box {
  kText1,  // rent, read with ParseDouble
  kText2,  // years, read with ParseInteger
  kText3,  // yearly increase in percent, read with ParseInteger
  kText4,  // the schedule; the program alone writes it
};

// The layout table's names of the boxes, indexed by Box.
inline constexpr std::array<std::string_view, 4> kBoxNames = {"Text1", "Text2",
                                                              "Text3", "Text4"};

// What the handlers need from the controls. Texts are UTF-8.
class FormControls {
 public:
  virtual ~FormControls() = default;

  // The box's text. For Text4, exactly what SetText last wrote, whatever the
  // box shows of it.
  virtual std::string Text(Box box) const = 0;
  // Replaces the box's whole text and shows its start. It does not report a
  // change: Form1 runs the guard of a box it writes itself.
  virtual void SetText(Box box, std::string_view text) = 0;
  virtual bool HasFocus(Box box) const = 0;
  // Selects the whole text, so that the next key replaces it.
  virtual void SelectAll(Box box) = 0;
  virtual void ShowContactNote() = 0;
  // Shows a wait cursor while `busy`.
  virtual void SetBusy(bool busy) = 0;
  // The report of an error no handler traps: modal, returns once dismissed.
  virtual void ShowErrorReport(int number) = 0;
};

class Form1 {
 public:
  // The most completed computations counted; further ones leave it there.
  static constexpr std::int16_t kMaxComputeCount = INT16_MAX;
  // The contact note shows from this many completed computations on.
  static constexpr std::int16_t kContactNoteAfter = 10;

  explicit Form1(FormControls& controls) : controls_(controls) {}

  // Before the window is first shown.
  void FormLoad();
  // The change handler of Text1, Text2 and Text3, whoever changed the text:
  // a text the box's conversion rejects becomes "0", selected when the box
  // has the focus.
  void InputGuard(Box box);
  // The same guard for `text` as the box's whole text, whether the box holds
  // it yet or not: returns true when it converts; otherwise the box becomes
  // "0" as above, and false. A host can judge a paste with it before the box
  // takes the text, and let the text in only on true, so that a box never
  // lays out a long text only to drop it.
  bool GuardText(Box box, std::string_view text);
  void Command1Click();  // compute
  void Command2Click();  // clear

  // A program write: replaces the text, then runs the box's guard before it
  // returns (nested, when the guard itself writes).
  void WriteBox(Box box, std::string_view text);

  std::int16_t ComputeCount() const { return compute_count_; }

 private:
  FormControls& controls_;
  std::int16_t compute_count_ = 0;
};

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_FORM1_H_
