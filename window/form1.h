#ifndef ZORVIK_WINDOW_FORM1_H_
#define ZORVIK_WINDOW_FORM1_H_

// The program's one window without its platform: the six handlers (load, the
// three input guards, compute, clear) and ComputeCount. Each host (Qt, Win32)
// creates the controls from the layout table, implements FormControls over
// them and delivers the controls' events to these handlers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorvik {

// The four text boxes, in the order of their numbers.
enum class Box {
  kText1,  // rent, read with ParseDouble
  kText2,  // years, read with ParseInteger
  kText3,  // yearly increase in percent, read with ParseInteger, % accepted
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
  // Makes an input box hold `before`, then replaces all of it with `text` as
  // one edit of the user's, the caret after it: the platform's undo (Ctrl+Z)
  // brings `before` back, never the text the box held in between. It does
  // not report a change.
  virtual void ReplaceByEdit(Box box, std::string_view before,
                             std::string_view text) = 0;
  virtual bool HasFocus(Box box) const = 0;
  // Selects the whole text, so that the next key replaces it.
  virtual void SelectAll(Box box) = 0;
  virtual void ShowContactNote() = 0;
  // Ends the input method's composition in an input box at once, dropping
  // what it had not committed, and forgets it without reporting a change:
  // the box holds only what was committed before it.
  virtual void AbandonComposition(Box box) = 0;
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
  // A pasted number longer than this many characters is written in its
  // normal form at once (see GuardPaste).
  static constexpr std::size_t kLongestPaste = 64;

  // The change handler of Text1, Text2 and Text3 for a change of the user's
  // (keys, a paste, undo): a text the box's conversion rejects becomes "0",
  // selected when the box has the focus, as one edit that undo takes back to
  // the last text the box held that converted.
  void InputGuard(Box box);
  // A paste judged before the box takes it, `text` being the whole text the
  // box would hold after it. Returns true when the host is to let the paste
  // in as it is. Otherwise Form1 has given the box its text: "0" as above for
  // a text that does not convert, or, for a number longer than kLongestPaste
  // characters, its normal form, the text Command1 would write back (a
  // megabyte of zeros is 0), again as one edit that undo takes back. So no
  // box lays out a line longer than anyone reads, which some platforms' edit
  // controls take minutes over.
  bool GuardPaste(Box box, std::string_view text);
  // How an input method's composition ended.
  enum class Ending {
    kCommitted,  // the user chose what it committed (a candidate, Enter)
    kAbandoned,  // the user dropped it (Esc): nothing was committed
    kFocusLeft,  // the focus left the box, and the method committed or
                 // dropped what it held on its way out
  };
  // An input method starts composing in an input box. Until the composition
  // ends, the box's text belongs to the method (the selection it replaced,
  // pinyin and candidates shown in it), so the box's guard judges nothing.
  void CompositionStart(Box box);
  // The composition has ended and the box holds what it committed. The guard
  // judges that as it judges typing, except that no composition costs the
  // number the box held before it: an abandoned one gives it back, and so
  // does one that committed a non-number as the focus left (the user was
  // reaching for a button or another box, not writing that word), or after a
  // button had ended it.
  void CompositionEnd(Box box, Ending how);
  bool Composing(Box box) const {
    return composing_[static_cast<std::size_t>(box)];
  }

  void Command1Click();  // compute
  void Command2Click();  // clear

  // A program write: replaces the text, then runs the box's guard before it
  // returns (nested, when the guard itself writes).
  void WriteBox(Box box, std::string_view text);

  std::int16_t ComputeCount() const { return compute_count_; }

 private:
  // Who changed a box's text: a reset after the user's change is an edit
  // that undo takes back, one after the program's write is a write.
  enum class Change { kUser, kProgram };
  // Keeps `text` as the box's last good text when it converts, or resets
  // the box; returns whether it converted.
  bool Guard(Box box, std::string_view text, Change change);
  // Makes the box "0", selected when it has the focus.
  void Reset(Box box, Change change);
  // Gives the box `text` as one edit of the user's from its good text, which
  // undo brings back; `text` is its good text from then on.
  void ReplaceByEdit(Box box, const std::string& text);

  // Ends every composition still open before a button acts on the boxes.
  void AbandonCompositions();

  FormControls& controls_;
  std::int16_t compute_count_ = 0;
  // The last text of Text1..Text3 that converted, the layout's "0" at first:
  // what the box held before a change the guard refuses.
  std::array<std::string, 3> good_texts_ = {"0", "0", "0"};
  // Text1..Text3 while an input method composes in them. The good text is
  // the one from before the composition all through it.
  std::array<bool, 3> composing_ = {};
};

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_FORM1_H_
