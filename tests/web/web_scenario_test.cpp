// The scenario table on the web host: the real page in the browser engine
// ZORVIK_ENGINE names (Chromium, Firefox or WebKit), driven by trusted input
// (keys, clipboard pastes, mouse clicks) through page_driver.mjs, with every
// report dismissed by Enter. Also the page's layout, its output box's frame
// and its names for screen readers, held against the layout table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/window/scenarios.h"
#include "window/form_layout.h"

extern "C" char* zv_drive(const char* request, std::size_t request_length,
                          std::size_t* answer_length);

namespace zorvik {
namespace {

// One request to the page driver; a failed one fails the test.
std::string Drive(std::string_view operation, std::string_view argument = {}) {
  std::string request(operation);
  request += '\x1f';
  request += argument;
  std::size_t length = 0;
  const std::unique_ptr<char, decltype(&std::free)> answer(
      zv_drive(request.data(), request.size(), &length), &std::free);
  const std::string_view text(answer.get(), length);
  if (text.empty() || text.front() != '+') {
    ADD_FAILURE() << text;
    return {};
  }
  return std::string(text.substr(1));
}

std::string_view NameOf(Box box) {
  return kBoxNames[static_cast<std::size_t>(box)];
}

class WebHost : public ScenarioHost {
 public:
  explicit WebHost(std::string_view viewport = {}) { Drive("open", viewport); }

  void Focus(std::string_view control) override { Drive("focus", control); }
  void Type(std::string_view utf8) override { Drive("type", utf8); }
  void Press(Key key) override { Drive("press", KeyName(key)); }
  bool Hold(Key key, int repeats) override {
    return Drive("hold", std::string(KeyName(key)) + ' ' +
                             std::to_string(repeats)) == "1";
  }
  void Paste(std::string_view utf8) override { Drive("paste", utf8); }
  void Compose(std::string_view pinyin) override { Drive("compose", pinyin); }
  void Commit(std::string_view utf8) override { Drive("commit", utf8); }
  void Click(std::string_view button) override { Drive("click", button); }
  void SelectOutput(int from, int to) override {
    Drive("select_output", std::to_string(from) + ' ' + std::to_string(to));
  }

  void DoubleClickOutput(int at) override {
    Drive("double_click_output", std::to_string(at));
  }

  std::string Text(Box box) override {
    if (box == Box::kText4) return Drive("output");
    return Drive("text", NameOf(box));
  }
  std::string Shown(Box box) override { return Drive("shown", NameOf(box)); }
  std::string SelectedText(Box box) override {
    return Drive("selected", NameOf(box));
  }
  int CaretPosition(Box box) override {
    return std::atoi(Drive("caret", NameOf(box)).c_str());
  }
  std::string FocusedControl() override { return Drive("focused"); }
  Copied Clipboard() override {
    const std::string both = Drive("clipboard");
    const std::size_t split = both.find('\x1e');
    if (split == std::string::npos) return {both, {}};
    return {both.substr(0, split), both.substr(split + 1)};
  }
  bool ContactNoteVisible() override {
    return Drive("visible", "Label4") == "1";
  }
  std::int16_t ComputeCount() override {
    return static_cast<std::int16_t>(std::atoi(Drive("count").c_str()));
  }
  std::vector<std::string> Reports() override {
    std::vector<std::string> reports;
    const std::string all = Drive("reports");
    for (std::size_t begin = 0; begin < all.size();) {
      std::size_t end = all.find('\x1e', begin);
      if (end == std::string::npos) end = all.size();
      reports.push_back(all.substr(begin, end - begin));
      begin = end + 1;
    }
    return reports;
  }

 private:
  static std::string_view KeyName(Key key) {
    switch (key) {
      case Key::kHome:
        return "Home";
      case Key::kEnd:
        return "End";
      case Key::kBackspace:
        return "Backspace";
      case Key::kSelectAll:
        return "Control+A";
      case Key::kTab:
        return "Tab";
      case Key::kShiftTab:
        return "Shift+Tab";
      case Key::kEnter:
        return "Enter";
      case Key::kEscape:
        return "Escape";
      case Key::kCopy:
        return "Control+C";
      case Key::kUndo:
        return "Control+Z";
      case Key::kSpace:
        return "Space";
    }
    return {};
  }
};

class WebScenarioTest : public testing::TestWithParam<Scenario> {};

TEST_P(WebScenarioTest, Behaves) {
  WebHost host;
  RunScenario(GetParam(), host);
}

INSTANTIATE_TEST_SUITE_P(Form1, WebScenarioTest, testing::ValuesIn(Scenarios()),
                         ScenarioName);

// "left top width height" of a control relative to the window, as the driver
// gives it.
struct Rect {
  double left = 0, top = 0, width = 0, height = 0;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};
Rect RectOf(std::string_view name) {
  Rect rect;
  std::istringstream in(Drive("rect", name));
  in >> rect.left >> rect.top >> rect.width >> rect.height;
  EXPECT_TRUE(in) << name;
  return rect;
}

// Where the window fits, every control stands where the table puts it, in
// CSS pixels.
TEST(WebLayoutTest, ControlsStandWhereTheTablePutsThem) {
  WebHost host("1024x768");
  // Layout rounds to fractions of a pixel.
  constexpr double kTolerance = 0.1;
  const Rect window = RectOf("Form1");
  EXPECT_NEAR(window.width, TwipsToPixels(kClientWidthTwips), kTolerance);
  EXPECT_NEAR(window.height, TwipsToPixels(kClientHeightTwips), kTolerance);
  EXPECT_EQ(Drive("overflows"), "0");
  for (const ControlRow& row : kForm1Controls) {
    if (!row.initially_visible) continue;  // a hidden control has no box
    const Rect actual = RectOf(row.name);
    EXPECT_NEAR(actual.left, TwipsToPixels(row.left), kTolerance) << row.name;
    EXPECT_NEAR(actual.top, TwipsToPixels(row.top), kTolerance) << row.name;
    EXPECT_NEAR(actual.width, TwipsToPixels(row.width), kTolerance) << row.name;
    // A caption lower than a line (19 or 20 pixels) takes one.
    const bool caption = row.kind == ControlKind::kLabel;
    EXPECT_NEAR(actual.height, TwipsToPixels(row.height) + (caption ? 1.5 : 0),
                caption ? 1.5 + kTolerance : kTolerance)
        << row.name;
  }
}

// On a touch screen where it fits, the window keeps the table's places at a
// finger's scale: across, the share of the window's width the table gives,
// the window as wide as the screen allows; down, the table's pixels made 44
// for its 25-pixel boxes. The list takes the rest of the screen's height.
TEST(WebLayoutTest, OnATouchScreenTheWindowIsTheTablesLarger) {
  WebHost host("740x360 touch");
  constexpr double kTolerance = 0.5;
  constexpr double kDown = 44.0 / 25.0;
  const Rect window = RectOf("Form1");
  EXPECT_NEAR(window.width, 740 - 16, kTolerance);
  EXPECT_NEAR(window.height, 360 - 16, kTolerance);
  EXPECT_EQ(Drive("overflows"), "0");
  const double across = window.width / TwipsToPixels(kClientWidthTwips);
  for (const ControlRow& row : kForm1Controls) {
    if (!row.initially_visible) continue;
    const Rect actual = RectOf(row.name);
    EXPECT_NEAR(actual.left, TwipsToPixels(row.left) * across, kTolerance)
        << row.name;
    EXPECT_NEAR(actual.top, TwipsToPixels(row.top) * kDown, kTolerance)
        << row.name;
    EXPECT_NEAR(actual.width, TwipsToPixels(row.width) * across, kTolerance)
        << row.name;
    if (row.name == "Text4") {
      // The note's room under it is the list's until the note shows.
      EXPECT_NEAR(window.bottom(), actual.bottom(), kTolerance);
    } else {
      EXPECT_NEAR(actual.height, TwipsToPixels(row.height) * kDown, kTolerance)
          << row.name;
    }
  }
}

// Where it does not, the same controls make a phone form of one column: each
// caption beside its box, the % after the increase, the buttons side by
// side, then the list down to the bottom of the screen.
TEST(WebLayoutTest, OnAPhoneTheControlsMakeAPhoneForm) {
  WebHost host("360x640");
  const Rect window = RectOf("Form1");
  EXPECT_EQ(window.width, 360 - 16);
  EXPECT_EQ(window.height, 640 - 16);
  EXPECT_EQ(Drive("overflows"), "0");
  const auto beside = [](const Rect& a, const Rect& b) {
    return a.right() <= b.left && a.top < b.bottom() && b.top < a.bottom();
  };
  double above = 0;
  for (const LabelFor& pair : kLabelBuddies) {
    const Rect caption = RectOf(pair.label);
    const Rect box = RectOf(pair.control);
    EXPECT_TRUE(beside(caption, box)) << pair.label;
    EXPECT_GE(box.top, above) << pair.control << " below the one before";
    above = box.bottom();
  }
  EXPECT_TRUE(beside(RectOf("Text3"), RectOf("Label5")));
  const Rect compute = RectOf("Command1");
  const Rect clear = RectOf("Command2");
  EXPECT_TRUE(beside(compute, clear));
  EXPECT_GE(compute.top, above);
  const Rect list = RectOf("Text4");
  EXPECT_GE(list.top, compute.bottom());
  EXPECT_EQ(list.bottom(), window.bottom());
}

// The output box's frame shows, light and dark: its colour is neither
// transparent nor, all but, the field's own.
TEST(WebLayoutTest, OutputBoxFrameIsDrawn) {
  WebHost host;
  for (const char* scheme : {"light", "dark"}) {
    Drive("scheme", scheme);
    std::istringstream in(Drive("frame", "Text4"));
    int frame[4] = {};
    int field[4] = {};
    for (int& value : frame) in >> value;
    for (int& value : field) in >> value;
    ASSERT_TRUE(in) << scheme;
    EXPECT_EQ(frame[3], 255) << scheme;
    int contrast = 0;
    for (int i = 0; i < 3; ++i) {
      contrast = std::max(contrast, std::abs(frame[i] - field[i]));
    }
    // A step of 64 in 255 stands out on any screen.
    EXPECT_GE(contrast, 64) << scheme;
  }
}

TEST(WebAccessibilityTest, ScreenReadersHearTheTablesNames) {
  WebHost host;
  auto caption_of = [](std::string_view name) {
    return std::string(kForm1Controls.at(RowOf(name)).caption);
  };
  // The driver is told the name expected too: Firefox's can only search by
  // name (page_driver.mjs).
  auto name_of = [](std::string_view control, std::string_view expected) {
    std::string argument(control);
    argument += '\x1e';
    argument += expected;
    return Drive("accessible_name", argument);
  };
  for (const LabelFor& pair : kLabelBuddies) {
    const std::string expected = caption_of(pair.label);
    EXPECT_EQ(name_of(pair.control, expected), expected) << pair.control;
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    EXPECT_EQ(name_of(entry.control, entry.name), entry.name) << entry.control;
  }
  for (const char* button : {"Command1", "Command2"}) {
    EXPECT_EQ(name_of(button, caption_of(button)), caption_of(button))
        << button;
  }
  // Only Chromium's driver reads descriptions (engines.mjs).
  if (Drive("can", "ax-description") != "1") return;
  for (const DescribedBy& entry : kDescriptions) {
    EXPECT_EQ(Drive("accessible_description", entry.control),
              SpokenCaption(entry.label))
        << entry.control;
  }
}

// Closes the browser once every test has run.
class BrowserEnvironment : public testing::Environment {
 public:
  void TearDown() override { Drive("quit"); }
};
const auto* const kBrowser =
    testing::AddGlobalTestEnvironment(new BrowserEnvironment);

}  // namespace
}  // namespace zorvik
