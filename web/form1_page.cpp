#include "web/form1_page.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>

#include "web/page_imports.h"
#include "window/error_report_text.h"
#include "window/form_layout.h"
#include "window/output_text.h"
#include "window/schedule_table.h"

namespace zorvik::web {
namespace {

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

// The control's place in the tab order, counting from 1; 0 for a label.
int TabPosition(const ControlRow& row) {
  if (row.kind == ControlKind::kLabel) return 0;
  const auto before = std::count_if(
      kForm1Controls.begin(), kForm1Controls.end(), [&](const ControlRow& r) {
        return r.kind != ControlKind::kLabel && r.tab_index < row.tab_index;
      });
  return static_cast<int>(before) + 1;
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
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    const ControlRow& row = kForm1Controls[i];
    zv_create_control(
        static_cast<int>(i), KindName(row.kind), std::string(row.name).c_str(),
        row.caption.data(), row.caption.size(), TwipsToPixels(row.left),
        TwipsToPixels(row.top), TwipsToPixels(row.width),
        TwipsToPixels(row.height), TabPosition(row), row.initially_visible);
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
}

void Form1Page::TextChanged(int row) {
  for (std::size_t i = 0; i < kBoxNames.size(); ++i) {
    if (Row(kBoxNames[i]) == row) form_.InputGuard(static_cast<Box>(i));
  }
}

void Form1Page::Clicked(int row) {
  if (row == Row("Command1")) form_.Command1Click();
  if (row == Row("Command2")) form_.Command2Click();
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
  output_text_ = text;
  const std::string shown = DisplayForm(output_text_, "\n");
  zv_clear_output(row);
  for (std::size_t begin = 0; begin < shown.size();) {
    std::size_t end = shown.find('\n', begin + kOutputBlockBytes);
    end = end == std::string::npos ? shown.size() : end + 1;
    const auto* first = shown.data() + begin;
    zv_append_output(
        row, first, end - begin,
        static_cast<int>(std::count(first, shown.data() + end, '\n')));
    begin = end;
  }
}

std::string Form1Page::ScheduleHtml(std::size_t begin, std::size_t end) const {
  const std::string table =
      ScheduleTable(DisplayForm(output_text_, "\n"), begin, end);
  return table.empty() ? table : HtmlDocument(table);
}

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
