#ifndef ZORVIK_TESTS_WINDOW_SCENARIO_HOST_H_
#define ZORVIK_TESTS_WINDOW_SCENARIO_HOST_H_

// What the scenario table needs from a host's real window: the user's input
// as the platform delivers it, and the window's state read back. Each host's
// test implements it over a freshly opened Form1 window.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "window/form1.h"

namespace zorvik {

enum class Key {
  kHome,
  kEnd,
  kBackspace,
  kSelectAll,  // Ctrl+A
  kTab,
  kShiftTab,
  kEnter,
  kEscape,
  kCopy,  // Ctrl+C
  kUndo,  // Ctrl+Z
  kSpace,
};

// What the clipboard holds, flavour by flavour, as another program pastes it.
struct Copied {
  std::string text;
  std::string html;  // the HTML document; "" when there is no HTML flavour
};

class ScenarioHost {
 public:
  virtual ~ScenarioHost() = default;

  // Input. Everything goes to the control with the focus, as keys do.
  virtual void Focus(std::string_view control) = 0;  // as by a mouse click
  virtual void Type(std::string_view utf8) = 0;      // one key per character
  virtual void Press(Key key) = 0;
  // Holds `key` down long enough to repeat: a key down, `repeats` downs of
  // the keyboard's auto-repeat, then the key up, each where the focus is by
  // then (in a report the key opened, if it did). Reports stay open through
  // the hold; returns whether one is still open once the key is up.
  virtual bool Hold(Key key, int repeats) = 0;
  virtual void Paste(std::string_view utf8) = 0;  // through the clipboard
  // The input method composes where the focus is, in Chinese mode: it shows
  // `pinyin` with its candidates until a commit.
  virtual void Compose(std::string_view pinyin) = 0;
  // The input method ends the composition, committing `utf8`, its first
  // candidate (Space); "" abandons it (Esc).
  virtual void Commit(std::string_view utf8) = 0;
  virtual void Click(std::string_view button) = 0;
  // Selects characters [from, to) of what the output box shows, its line
  // breaks counted as one character each, as a drag with the mouse does.
  virtual void SelectOutput(int from, int to) = 0;
  // Double-clicks the character `at` of what the output box shows.
  virtual void DoubleClickOutput(int at) = 0;

  // State.
  virtual std::string Text(Box box) = 0;   // Text4: what the program wrote
  virtual std::string Shown(Box box) = 0;  // what the box shows (Text4)
  virtual std::string SelectedText(Box box) = 0;
  virtual int CaretPosition(Box box) = 0;  // in characters
  virtual std::string FocusedControl() = 0;
  virtual Copied Clipboard() = 0;
  virtual bool ContactNoteVisible() = 0;
  virtual std::int16_t ComputeCount() = 0;
  // The error reports shown and dismissed so far, each "title|text".
  virtual std::vector<std::string> Reports() = 0;
};

}  // namespace zorvik

#endif  // ZORVIK_TESTS_WINDOW_SCENARIO_HOST_H_
