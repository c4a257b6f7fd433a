#include "web/form1_page.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/rent_schedule.h"
#include "web/page_imports.h"
#include "window/error_report_text.h"
#include "window/form_layout.h"
#include "window/output_text.h"
#include "window/schedule_table.h"

namespace zorvik::web {
namespace {

// What a screen reader is told of the list after a click that changed it:
// "已列出 30 年" after a computation, "已清除" after a clear.
constexpr std::string_view kListedBefore = "已列出 ";
constexpr std::string_view kListedAfter = " 年";
constexpr std::string_view kCleared = "已清除";

// Phones show the keyboard a box asks for: the rent takes a decimal point,
// the years whole digits. The increase keeps the full keyboard, on which the
// minus sign of a falling rent is always reachable.
struct InputMode {
  std::string_view control;
  const char* mode;
};
constexpr InputMode kInputModes[] = {
    {"Text1", "decimal"},
    {"Text2", "numeric"},
    {"Text3", "text"},
};

// The output box's text goes to the page in blocks of about this many bytes;
// the page lays out only the blocks in view, so a long schedule shows at once.
constexpr std::size_t kOutputBlockBytes = 8192;

// The lines of `text` that hold something: in the output box, one a year,
// each followed by an empty line.
int NonEmptyLines(std::string_view text) {
  int lines = 0;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    if (end > begin) ++lines;
    begin = end + 1;
  }
  return lines;
}

// The page knows each control by its row in the table.
int Row(std::string_view name) { return static_cast<int>(RowOf(name)); }
int Row(Box box) { return Row(kBoxNames[static_cast<std::size_t>(box)]); }

// What the page makes of each kind of control.
const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return "label";
    case ControlKind::kInputBox:
      return "input";
    case ControlKind::kOutputBox:
      return "output";
    case ControlKind::kButton:
      return "button";
  }
  return "label";
}

// The rows in the order the page holds its controls, which is the order Tab
// follows on a web page: the controls that take the focus by tab index, each
// after the label that names it; a label that names nothing follows the row
// before it in the table (the % after the increase box). Where a control
// stands on the screen is up to the style sheet, not this order.
std::vector<std::size_t> DocumentOrder() {
  struct Place {
    int tab_index;
    int rank;  // a naming label, then its control, then a label after it
    std::size_t row;
  };
  const auto named_control = [](std::string_view label) {
    for (const LabelFor& pair : kLabelBuddies) {
      if (pair.label == label) return RowOf(pair.control);
    }
    return kForm1Controls.size();
  };
  std::vector<Place> places;
  places.reserve(kForm1Controls.size());
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    const ControlRow& row = kForm1Controls[i];
    if (row.kind != ControlKind::kLabel) {
      places.push_back({row.tab_index, 1, i});
    } else if (const std::size_t named = named_control(row.name);
               named < kForm1Controls.size()) {
      places.push_back({kForm1Controls[named].tab_index, 0, i});
    } else {
      places.push_back({i == 0 ? -1 : places.back().tab_index, 2, i});
    }
  }
  std::stable_sort(
      places.begin(), places.end(), [](const Place& a, const Place& b) {
        return std::tie(a.tab_index, a.rank) < std::tie(b.tab_index, b.rank);
      });
  std::vector<std::size_t> rows;
  rows.reserve(places.size());
  for (const Place& place : places) rows.push_back(place.row);
  return rows;
}

}  // namespace

Form1Page& Form1Page::Instance() {
  // Never destroyed: the page lives until the browser drops it.
  static auto* const page = new Form1Page();
  return *page;
}

Form1Page::Form1Page() {
  zv_open_window(TwipsToPixels(kClientWidthTwips),
                 TwipsToPixels(kClientHeightTwips));
  for (const std::size_t i : DocumentOrder()) {
    const ControlRow& row = kForm1Controls[i];
    zv_create_control(static_cast<int>(i), KindName(row.kind),
                      std::string(row.name).c_str(), row.caption.data(),
                      row.caption.size(), TwipsToPixels(row.left),
                      TwipsToPixels(row.top), TwipsToPixels(row.width),
                      TwipsToPixels(row.height), row.initially_visible);
  }
  for (const LabelFor& pair : kLabelBuddies) {
    zv_label_for(Row(pair.label), Row(pair.control));
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    zv_set_accessible_name(Row(entry.control), entry.name.data(),
                           entry.name.size());
  }
  for (const DescribedBy& entry : kDescriptions) {
    zv_set_description(Row(entry.control), Row(entry.label));
  }
  for (const InputMode& entry : kInputModes) {
    zv_set_input_mode(Row(entry.control), entry.mode);
  }
  form_.FormLoad();
}

void Form1Page::Show() {
  const int first = Row(InitialFocus().name);
  zv_focus(first);
  zv_select_all(first);
  PrepareFirstComputation();
}

void Form1Page::PrepareFirstComputation() {
  // As many years as a hot path of the browser takes to be optimised, and of
  // 15 digits each, the longest the numbers get.
  const ComputeOutcome sample = RunCompute("1000", "100", "-1");
  if (!sample.schedule) return;
  const std::string shown = DisplayForm(*sample.schedule, "\n");
  // One year's line has every character a schedule draws.
  const std::string_view first_year(shown.data(), shown.find('\n'));
  zv_lay_out_unseen(Row(Box::kText4), first_year.data(), first_year.size());
}

void Form1Page::TextChanged(int row) {
  for (std::size_t i = 0; i < kBoxNames.size(); ++i) {
    if (Row(kBoxNames[i]) == row) form_.InputGuard(static_cast<Box>(i));
  }
}

void Form1Page::CompositionStarted(int row) {
  for (std::size_t i = 0; i < 3; ++i) {
    if (Row(kBoxNames[i]) == row) form_.CompositionStart(static_cast<Box>(i));
  }
}

void Form1Page::CompositionEnded(int row, int how) {
  constexpr int kFocusLeft = static_cast<int>(Form1::Ending::kFocusLeft);
  if (how < 0 || how > kFocusLeft) return;
  for (std::size_t i = 0; i < 3; ++i) {
    if (Row(kBoxNames[i]) == row) {
      form_.CompositionEnd(static_cast<Box>(i),
                           static_cast<Form1::Ending>(how));
    }
  }
}

bool Form1Page::Pasted(int row, std::string_view text) {
  for (std::size_t i = 0; i < 3; ++i) {
    if (Row(kBoxNames[i]) == row) {
      return form_.GuardPaste(static_cast<Box>(i), text);
    }
  }
  return true;
}

void Form1Page::Clicked(int row) {
  const bool compute = row == Row("Command1");
  if (!compute && row != Row("Command2")) return;
  output_changed_ = false;
  if (compute) {
    form_.Command1Click();
  } else {
    form_.Command2Click();
  }
  // A screen reader hears nothing of a list that changes elsewhere on the
  // page: the status says what it holds now, and says nothing new when it
  // holds what it held (a clear of an empty list, the same computation
  // again, a computation that was refused and reported).
  if (!output_changed_) return;
  const std::string text = compute ? std::string(kListedBefore) +
                                         std::to_string(listed_years_) +
                                         std::string(kListedAfter)
                                   : std::string(kCleared);
  zv_announce(text.data(), text.size());
}

std::string Form1Page::Text(Box box) const {
  if (box == Box::kText4) return output_text_;
  std::size_t length = 0;
  const std::unique_ptr<char, decltype(&std::free)> text(
      zv_input_text(Row(box), &length), &std::free);
  return {text.get(), length};
}

void Form1Page::SetText(Box box, std::string_view text) {
  const int row = Row(box);
  if (box != Box::kText4) {
    zv_set_input_text(row, text.data(), text.size());
    return;
  }
  if (text != output_text_) output_changed_ = true;
  output_text_ = text;
  const std::string shown = DisplayForm(output_text_, "\n");
  listed_years_ = NonEmptyLines(shown);
  zv_clear_output(row);
  if (shown.empty()) return;
  // The line breaks after the last line (the empty line after the last
  // year) make a block of their own, always the last, which the printed page
  // leaves out: on paper they could only start a page with nothing on it.
  std::size_t trailing = 0;
  if (const std::size_t last = shown.find_last_not_of('\n');
      last != std::string::npos) {
    const std::size_t line_end = shown.find('\n', last);
    trailing = line_end == std::string::npos ? shown.size() : line_end + 1;
  }
  for (std::size_t begin = 0; begin < trailing;) {
    std::size_t end = shown.find('\n', begin + kOutputBlockBytes);
    // The last block of years is never short: the page lays it out from the
    // start, so that an end reached by scrolling is the end of the years.
    end = end == std::string::npos || end + kOutputBlockBytes / 2 >= trailing
              ? trailing
              : end + 1;
    AppendOutputBlock(row, std::string_view(shown).substr(begin, end - begin));
    begin = end;
  }
  AppendOutputBlock(row, std::string_view(shown).substr(trailing));
}

void Form1Page::AppendOutputBlock(int row, std::string_view block) {
  zv_append_output(
      row, block.data(), block.size(),
      static_cast<int>(std::count(block.begin(), block.end(), '\n')));
}

std::string Form1Page::ScheduleHtml(std::size_t begin, std::size_t end) const {
  const std::string table =
      ScheduleTable(DisplayForm(output_text_, "\n"), begin, end);
  return table.empty() ? table : HtmlDocument(table);
}

void Form1Page::ReplaceByEdit(Box box, std::string_view before,
                              std::string_view text) {
  if (box == Box::kText4) return;
  zv_replace_input_text(Row(box), before.data(), before.size(), text.data(),
                        text.size());
}

// A page cannot take a composition from the browser's input method. A click
// on a button has the browser end it before the click, as the focus leaves,
// so no composition is open by the time a button acts.
void Form1Page::AbandonComposition(Box /*box*/) {}

bool Form1Page::HasFocus(Box box) const { return zv_has_focus(Row(box)); }

void Form1Page::SelectAll(Box box) {
  if (box != Box::kText4) zv_select_all(Row(box));
}

void Form1Page::ShowContactNote() { zv_show(Row("Label4")); }

void Form1Page::SetBusy(bool busy) { zv_set_busy(busy); }

void Form1Page::ShowErrorReport(int number) {
  // The dialog is modal but the page cannot wait for it: the handler that
  // reports has nothing left to do, so it returns while the report shows.
  const std::string text = ErrorReportText(number);
  zv_show_report(kErrorReportTitle.data(), kErrorReportTitle.size(),
                 text.data(), text.size(), kErrorReportButton.data(),
                 kErrorReportButton.size());
}

}  // namespace zorvik::web
