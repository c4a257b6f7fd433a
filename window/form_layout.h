#ifndef ZORVIK_WINDOW_FORM_LAYOUT_H_
#define ZORVIK_WINDOW_FORM_LAYOUT_H_

// The main window's layout as data: every control with its kind, caption,
// position and tab index, in twips (1/1440 inch). Nothing moves or resizes, so
// this table is the whole layout. It is converted to device-independent pixels
// to pixels at the window's resolution: 15 twips a pixel at 96 dots per inch.

#include <array>
#include <cstddef>
#include <string_view>

#include "window/identity.h"

namespace zorvik {

enum class ControlKind {
  kLabel,
  kInputBox,   // single-line, the user types a number into it
  kOutputBox,  // multi-line, read-only, vertical scroll bar
  kButton,
};

struct ControlRow {
  std::string_view name;
  ControlKind kind;
  std::string_view caption;  // UTF-8; the initial text of a box
  int left;                  // twips from the client area's top-left corner
  int top;
  int width;
  int height;
  int tab_index;  // focus order among the controls that take focus
  bool initially_visible;
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 6750;   // 450 px
inline constexpr int kClientHeightTwips = 4215;  // 281 px

constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

// At `dpi` dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

inline constexpr std::string_view kWindowCaption = "Zorvik";

// clang-format off
inline constexpr std::array<ControlRow, 11> kForm1Controls = {{
  // name        kind                    caption                   left  top   width height tab  visible
  {"Label1",   ControlKind::kLabel,     "租金",                    240,  240,  615,  375,   2,  true},
  {"Text1",    ControlKind::kInputBox,  "0",                       720,  120,  1215, 375,   5,  true},
  {"Label2",   ControlKind::kLabel,     "年限",                    2280, 240,  615,  255,   3,  true},
  {"Text2",    ControlKind::kInputBox,  "0",                       2760, 120,  1215, 375,   6,  true},
  {"Label3",   ControlKind::kLabel,     "递增",                    4320, 240,  495,  255,   4,  true},
  {"Text3",    ControlKind::kInputBox,  "0",                       4800, 120,  1215, 375,   0,  true},
  {"Label5",   ControlKind::kLabel,     "%",                       6120, 240,  495,  255,  10,  true},
  {"Command1", ControlKind::kButton,    "计算",                    1560, 720,  1455, 375,   7,  true},
  {"Command2", ControlKind::kButton,    "清除",                    3360, 720,  1455, 375,   8,  true},
  {"Text4",    ControlKind::kOutputBox, "",                        240,  1200, 6255, 2655,  1,  true},
  {"Label4",   ControlKind::kLabel,     kContactNote,              4680, 3960, 2055, 255,   9,  false},
}};
// clang-format on

// The row of the control called `name`; kForm1Controls.size() if none is.
constexpr std::size_t RowOf(std::string_view name) {
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    if (kForm1Controls[i].name == name) return i;
  }
  return kForm1Controls.size();
}

// The control that has the focus when the window opens: the lowest tab index.
constexpr const ControlRow& InitialFocus() {
  std::size_t first = kForm1Controls.size();
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    if (kForm1Controls[i].kind == ControlKind::kLabel) continue;
    if (first == kForm1Controls.size() ||
        kForm1Controls[i].tab_index < kForm1Controls[first].tab_index) {
      first = i;
    }
  }
  return kForm1Controls[first];
}

// What assistive technology reads. Each input box takes its caption's label as
// its name (the label is its buddy); the controls whose caption alone says too
// little get a name of their own. Buttons are named by their captions.
struct LabelFor {
  std::string_view label;
  std::string_view control;
};
inline constexpr std::array<LabelFor, 3> kLabelBuddies = {{
    {"Label1", "Text1"},
    {"Label2", "Text2"},
    {"Label3", "Text3"},
}};

struct AccessibleName {
  std::string_view control;
  std::string_view name;  // UTF-8
};
inline constexpr std::array<AccessibleName, 2> kAccessibleNames = {{
    {"Text4", "每年租金"},
    {"Label5", "百分比"},
}};

// What a screen reader says for a label: its own accessible name where it
// has one, else its caption.
constexpr std::string_view SpokenCaption(std::string_view label) {
  for (const AccessibleName& entry : kAccessibleNames) {
    if (entry.control == label) return entry.name;
  }
  const std::size_t row = RowOf(label);
  return row < kForm1Controls.size() ? kForm1Controls[row].caption : "";
}

// What assistive technology reads after a control's name, from a label that
// says more about it: the increase is in percent, as the % after its box
// shows.
struct DescribedBy {
  std::string_view control;
  std::string_view label;
};
inline constexpr std::array<DescribedBy, 1> kDescriptions = {{
    {"Text3", "Label5"},
}};

// The description of `control` as kDescriptions gives it; "" for none.
constexpr std::string_view DescriptionOf(std::string_view control) {
  for (const DescribedBy& entry : kDescriptions) {
    if (entry.control == control) return SpokenCaption(entry.label);
  }
  return "";
}

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_FORM_LAYOUT_H_
