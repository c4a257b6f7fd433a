#ifndef ZORVIK_TESTS_WINDOW_SCENARIOS_H_
#define ZORVIK_TESTS_WINDOW_SCENARIOS_H_

// The window's behaviour as one table of scenarios, each State (a freshly
// opened window) / Action (steps of user input) / Expected (what the window
// then shows). Every host runs the whole table against its real window.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/window/scenario_host.h"

namespace zorvik {

struct Step {
  enum class Kind {
    kTypeInto,     // focus `target`, select all, type `text`
    kKeys,         // type `text` where the focus is, at the caret
    kPress,        // press `key` `repeat` times
    kHold,         // hold `key` down through `repeat` auto-repeats
    kPasteInto,    // focus `target`, select all, paste `text`
    kFocus,        // focus `target`
    kClick,        // click button `target` `repeat` times
    kSelect,       // select characters [`from`, `to`) of the output box
    kDoubleClick,  // double-click character `from` of the output box
    kCompose,      // the input method composes pinyin `text`
    kCommit,       // the input method commits `text` ("": abandons)
  };
  Kind kind = Kind::kKeys;
  std::string target = {};
  std::string text = {};
  Key key = Key::kHome;
  int repeat = 1;
  int from = 0;
  int to = 0;
};

struct Expected {
  // Texts of Text1..Text4, as the program holds them.
  std::array<std::optional<std::string>, 4> texts = {};
  // What the output box shows, its line breaks written as "\n".
  std::optional<std::string> shown = {};
  // The selected text of Text1..Text3.
  std::array<std::optional<std::string>, 3> selected = {};
  // Boxes whose caret is at the start, so that they show the start.
  std::vector<Box> caret_at_start = {};
  std::optional<std::string> focus = {};
  std::optional<bool> contact_note = {};
  std::optional<int> compute_count = {};
  // The clipboard: its text exactly, and the table its HTML document holds
  // ("": no HTML flavour at all).
  std::optional<Copied> clipboard = {};
  // Whether a report was still open when the last held key was let go.
  std::optional<bool> report_open_after_release = {};
  // Every report shown, "title|text"; none unless listed.
  std::vector<std::string> reports = {};
};

struct Scenario {
  std::string name;  // a test name: letters, digits and underscores
  std::vector<Step> steps = {};
  Expected expected = {};
};

const std::vector<Scenario>& Scenarios();

// Runs the scenario's steps on `host` and checks what it expects, with
// GoogleTest's non-fatal checks.
void RunScenario(const Scenario& scenario, ScenarioHost& host);

// Names each host's test after its scenario:
//   INSTANTIATE_TEST_SUITE_P(Form1, HostScenarioTest,
//                            testing::ValuesIn(Scenarios()), ScenarioName);
inline std::string ScenarioName(const testing::TestParamInfo<Scenario>& info) {
  return info.param.name;
}

inline void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

}  // namespace zorvik

#endif  // ZORVIK_TESTS_WINDOW_SCENARIOS_H_
