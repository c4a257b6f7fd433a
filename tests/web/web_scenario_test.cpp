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
  void Paste(std::string_view utf8) override { Drive("paste", utf8); }
  void Click(std::string_view button) override { Drive("click", button); }

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

// Every control where the table puts it, in CSS pixels; on a phone narrower
// than the window, all of it scaled by one factor to fit the width (the page
// keeps 8 pixels on either side).
TEST(WebLayoutTest, ControlsStandWhereTheTablePutsThem) {
  struct Screen {
    const char* viewport;
    double scale;
  };
  constexpr double kWidth = TwipsToPixels(kClientWidthTwips);
  const Screen screens[] = {{"1024x768", 1.0},
                            {"360x640", (360 - 16) / kWidth}};
  // "left top width height" relative to the window, as the driver gives it.
  const auto rect = [](std::string_view name) {
    std::vector<double> numbers;
    std::istringstream in(Drive("rect", name));
    for (double n = 0; in >> n;) numbers.push_back(n);
    return numbers;
  };
  // Layout rounds to fractions of a pixel.
  constexpr double kTolerance = 0.1;
  for (const Screen& screen : screens) {
    WebHost host(screen.viewport);
    const std::vector<double> window = rect("Form1");
    ASSERT_EQ(window.size(), 4u);
    EXPECT_NEAR(window[2], kWidth * screen.scale, kTolerance);
    EXPECT_NEAR(window[3], TwipsToPixels(kClientHeightTwips) * screen.scale,
                kTolerance);
    EXPECT_EQ(Drive("overflows"), "0")
        << "sideways scrolling at " << screen.viewport;
    for (const ControlRow& row : kForm1Controls) {
      if (!row.initially_visible) continue;  // a hidden control has no box
      const std::vector<double> actual = rect(row.name);
      const int expected[] = {row.left, row.top, row.width, row.height};
      ASSERT_EQ(actual.size(), 4u) << row.name;
      for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], TwipsToPixels(expected[i]) * screen.scale,
                    kTolerance)
            << row.name << " at " << screen.viewport << ", value " << i;
      }
    }
  }
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
