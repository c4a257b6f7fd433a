#include "tests/window/scenarios.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <utility>

#include "core/rent_schedule.h"

namespace zorvik {
namespace {

constexpr std::string_view kReport6 = "Zorvik|运行时错误 '6':\n\n溢出";

// One schedule entry as the program writes it, and as the box shows it.
std::string Entry(int year, std::string_view rent) {
  return "第 " + std::to_string(year) + " 年租金：  " + std::string(rent) +
         "\n\r\n\r\n";
}
std::string ShownEntry(int year, std::string_view rent) {
  return "第 " + std::to_string(year) + " 年租金：  " + std::string(rent) +
         "\n\n";
}

// The table a copy carries of these entries, year and rent, as the
// clipboard's HTML holds it.
std::string Table(
    std::initializer_list<std::pair<std::string_view, std::string_view>> rows) {
  std::string table = "<table><tbody><tr><th>年份</th><th>租金</th></tr>";
  for (const auto& [year, rent] : rows) {
    table += "<tr><td>" + std::string(year) +
             R"(</td><td sdnum="1033;" sdval=")" + std::string(rent) + "\">" +
             std::string(rent) + "</td></tr>";
  }
  return table + "</tbody></table>";
}

Step TypeInto(std::string box, std::string text) {
  return {Step::Kind::kTypeInto, std::move(box), std::move(text)};
}
Step Keys(std::string text) { return {Step::Kind::kKeys, {}, std::move(text)}; }
Step Press(Key key, int repeat = 1) {
  return {Step::Kind::kPress, {}, {}, key, repeat};
}
// Holding a key down through `repeats` of the keyboard's auto-repeat.
Step Hold(Key key, int repeats) {
  return {Step::Kind::kHold, {}, {}, key, repeats};
}
Step PasteInto(std::string box, std::string text) {
  return {Step::Kind::kPasteInto, std::move(box), std::move(text)};
}
Step Focus(std::string control) {
  return {Step::Kind::kFocus, std::move(control)};
}
Step Click(std::string button, int repeat = 1) {
  return {Step::Kind::kClick, std::move(button), {}, Key::kHome, repeat};
}
Step SelectOutput(int from, int to) {
  return {.kind = Step::Kind::kSelect, .from = from, .to = to};
}
Step DoubleClickOutput(int at) {
  return {.kind = Step::Kind::kDoubleClick, .from = at};
}
Step Compose(std::string pinyin) {
  return {Step::Kind::kCompose, {}, std::move(pinyin)};
}
Step Commit(std::string text) {
  return {Step::Kind::kCommit, {}, std::move(text)};
}
Step Compute(int repeat = 1) { return Click("Command1", repeat); }
Step Clear() { return Click("Command2"); }

// The inputs typed as a user types them, box by box (a lone "-" resets, so
// negative numbers are pasted).
std::vector<Step> Enter(std::string rent, std::string years,
                        std::string percent) {
  return {TypeInto("Text1", std::move(rent)),
          TypeInto("Text2", std::move(years)),
          TypeInto("Text3", std::move(percent))};
}

std::vector<Step> Then(std::vector<Step> steps,
                       std::initializer_list<Step> more) {
  steps.insert(steps.end(), more);
  return steps;
}

// The expected texts of the three inputs, the output as written left open.
std::array<std::optional<std::string>, 4> Inputs(std::string rent,
                                                 std::string years,
                                                 std::string percent) {
  return {std::move(rent), std::move(years), std::move(percent), std::nullopt};
}
std::array<std::optional<std::string>, 4> Boxes(std::string rent,
                                                std::string years,
                                                std::string percent,
                                                std::string output) {
  return {std::move(rent), std::move(years), std::move(percent),
          std::move(output)};
}
std::array<std::optional<std::string>, 4> Only(Box box, std::string text) {
  std::array<std::optional<std::string>, 4> texts;
  texts[static_cast<std::size_t>(box)] = std::move(text);
  return texts;
}

std::vector<Scenario> MakeScenarios() {
  using enum Box;
  const std::string worked =
      Entry(1, "1000") + Entry(2, "1050") + Entry(3, "1102.5");
  const std::string longest = BuildSchedule({1000.0, 32767, -1});
  const Copied worked_copy = {
      ShownEntry(1, "1000") + ShownEntry(2, "1050") + ShownEntry(3, "1102.5"),
      Table({{"1", "1000"}, {"2", "1050"}, {"3", "1102.5"}})};
  const std::string megabyte_number = "0." + std::string(1 << 20, '0') + "1";
  const std::string megabyte_text(1 << 20, 'a');
  // A number far beyond the double range: an overflow, not a number.
  const std::string megabyte_digits(1 << 20, '9');
  const std::string megabyte_zeros(1 << 20, '0');
  // The longest pasted number kept as it is, and one character more.
  const std::string longest_kept = "1." + std::string(62, '0');

  std::vector<Scenario> table = {
      // Start.
      {"start_state",
       {},
       {.texts = Boxes("0", "0", "0", ""),
        .selected = {"", "", "0"},
        .focus = "Text3",
        .contact_note = false,
        .compute_count = 0}},
      {"first_key_replaces_the_selected_zero",
       {Keys("5")},
       {.texts = Only(kText3, "5")}},

      // Focus moves in the table's tab order, not left to right.
      {"tab_once_reaches_the_output", {Press(Key::kTab)}, {.focus = "Text4"}},
      {"tab_twice_reaches_the_rent", {Press(Key::kTab, 2)}, {.focus = "Text1"}},
      {"tab_five_times_reaches_clear",
       {Press(Key::kTab, 5)},
       {.focus = "Command2"}},
      {"tab_six_times_comes_back",
       {Press(Key::kTab, 6)},
       {.selected = {"", "", "0"}, .focus = "Text3"}},
      {"tab_into_a_box_selects_it",
       {Press(Key::kTab, 2), Keys("7")},
       {.texts = Only(kText1, "7"), .focus = "Text1"}},
      {"shift_tab_goes_back", {Press(Key::kShiftTab)}, {.focus = "Command2"}},
      // Enter presses the button that has the focus; neither is the
      // window's default, so Enter in a box does nothing, nor does Esc.
      {"enter_on_a_focused_button_presses_it",
       Then(Enter("1000", "3", "5"), {Focus("Command1"), Press(Key::kEnter),
                                      Focus("Command2"), Press(Key::kEnter)}),
       {.texts = Boxes("0", "0", "0", ""),
        .focus = "Command2",
        .compute_count = 1}},
      // Held down, Enter presses once, as Space does: the keyboard's
      // repeats press nothing more.
      {"held_enter_presses_once",
       {Focus("Command1"), Hold(Key::kEnter, 5)},
       {.focus = "Command1", .compute_count = 1}},
      {"held_space_presses_once",
       {Focus("Command1"), Hold(Key::kSpace, 5)},
       {.focus = "Command1", .compute_count = 1}},
      // The report that a held Enter opened takes none of its repeats, nor
      // its release: it waits for a fresh press.
      {"held_enter_leaves_the_overflow_report_open",
       Then(Enter("1000", "200", "32767"),
            {Focus("Command1"), Hold(Key::kEnter, 5)}),
       {.texts = Inputs("1000", "200", "32767"),
        .compute_count = 0,
        .report_open_after_release = true,
        .reports = {std::string(kReport6)}}},
      {"enter_in_a_box_and_escape_do_nothing",
       Then(Enter("1000", "3", "5"),
            {Compute(), Focus("Text1"), Press(Key::kEnter), Focus("Text4"),
             Press(Key::kEnter), Focus("Text1"), Press(Key::kEscape),
             Focus("Text4"), Press(Key::kEscape), Focus("Command1"),
             Press(Key::kEscape), Focus("Command2"), Press(Key::kEscape)}),
       {.texts = Boxes("1000", "3", "5", worked), .compute_count = 1}},

      // The guards: whatever does not convert becomes 0 at once.
      {"rent_digits_stay",
       {TypeInto("Text1", "1000.5")},
       {.texts = Only(kText1, "1000.5")}},
      {"rent_letters_reset",
       {TypeInto("Text1", "abc")},
       {.texts = Only(kText1, "0")}},
      {"rent_letter_after_digits_resets",
       {TypeInto("Text1", "12x")},
       {.texts = Only(kText1, "0"), .selected = {"0"}}},
      // "1.5e" on its way to "1.5e3" does not convert: exponents are pasted.
      {"rent_exponent_typed_resets_on_the_way",
       {TypeInto("Text1", "1.5e3")},
       {.texts = Only(kText1, "3")}},
      // So does "12," on its way to "12,500": grouped numbers are pasted.
      {"rent_comma_typed_resets_on_the_way",
       {TypeInto("Text1", "12,500")},
       {.texts = Only(kText1, "500")}},
      {"years_40000_resets",
       {TypeInto("Text2", "40000")},
       {.texts = Only(kText2, "0")}},
      {"years_three_and_a_half_stays",
       {TypeInto("Text2", "3.5")},
       {.texts = Only(kText2, "3.5")}},
      {"percent_lone_minus_resets",
       {TypeInto("Text3", "-")},
       {.texts = Only(kText3, "0")}},
      {"percent_32767_5_resets",
       {TypeInto("Text3", "32767.5")},
       {.texts = Only(kText3, "0")}},
      {"reset_then_typed",
       {TypeInto("Text1", "x7")},
       {.texts = Only(kText1, "7")}},
      {"deleting_everything_gives_a_selected_zero",
       {TypeInto("Text1", "25"), Press(Key::kSelectAll),
        Press(Key::kBackspace)},
       {.texts = Only(kText1, "0"), .selected = {"0"}}},
      {"deleting_everything_then_typing",
       {TypeInto("Text1", "25"), Press(Key::kSelectAll), Press(Key::kBackspace),
        Keys("5")},
       {.texts = Only(kText1, "5")}},
      // -32768's digits alone are beyond the range: its minus goes in
      // before the last digit.
      {"minus_in_front_of_digits_stays",
       {TypeInto("Text3", "5"), Press(Key::kHome), Keys("-"),
        TypeInto("Text2", "3276"), Press(Key::kHome), Keys("-"),
        Press(Key::kEnd), Keys("8")},
       {.texts = Inputs("0", "-32768", "-5")}},
      // Undo right after a reset brings back what the box held before the
      // refused change (a paste, a key, a long paste's normal form), never
      // a text it did not hold.
      {"undo_after_a_reset_brings_back_the_text_before",
       {TypeInto("Text1", "77"), PasteInto("Text1", "abc"), Press(Key::kUndo),
        TypeInto("Text2", "1000"), Press(Key::kBackspace, 4), Press(Key::kUndo),
        TypeInto("Text3", "12x"), Press(Key::kUndo)},
       {.texts = Inputs("77", "1", "12")}},
      {"undo_after_a_long_paste_brings_back_the_text_before",
       {TypeInto("Text1", "77"), PasteInto("Text1", "1." + megabyte_zeros),
        Press(Key::kUndo)},
       {.texts = Only(kText1, "77"), .selected = {"77"}}},

      // Pastes go through the same guard.
      {"paste_of_two_numbers_resets",
       {PasteInto("Text1", "12 34")},
       {.texts = Only(kText1, "0")}},
      {"paste_with_blanks_stays",
       {PasteInto("Text1", " 2500 ")},
       {.texts = Only(kText1, " 2500 ")}},
      {"paste_of_a_megabyte_of_letters_or_digits_resets",
       {PasteInto("Text1", megabyte_text), PasteInto("Text2", megabyte_text),
        PasteInto("Text3", megabyte_text), PasteInto("Text1", megabyte_digits),
        PasteInto("Text2", megabyte_digits)},
       {.texts = Inputs("0", "0", "0"), .selected = {"", "0", ""}}},
      // A pasted number longer than 64 characters is written at once as
      // Compute writes it back: no box lays out a megabyte line.
      {"paste_of_a_long_number_is_written_in_normal_form",
       {PasteInto("Text1", "1." + megabyte_zeros),
        PasteInto("Text2", megabyte_zeros + "7"),
        PasteInto("Text3", megabyte_zeros)},
       {.texts = Inputs("1", "7", "0"), .selected = {"", "", ""}}},
      {"paste_of_a_long_decimal_keeps_its_value",
       {PasteInto("Text1", "0." + std::string(1 << 20, '1')),
        PasteInto("Text2", longest_kept),
        PasteInto("Text3", longest_kept + "0")},
       {.texts = Inputs("0.111111111111111", longest_kept, "1")}},
      {"paste_of_invisible_characters_resets",
       {PasteInto("Text1", "\u200F5"), PasteInto("Text2", "5\u200B"),
        PasteInto("Text3", "1\uFEFF5")},
       {.texts = Inputs("0", "0", "0")}},
      {"paste_of_a_megabyte_number_is_computed",
       {TypeInto("Text2", "1"), TypeInto("Text3", "5"),
        PasteInto("Text1", megabyte_number), Compute()},
       {.texts = Boxes("0", "1", "5", Entry(1, "0")), .compute_count = 1}},
      // Amounts as contracts and spreadsheets write them.
      {"paste_of_a_yen_amount_is_kept_and_written_plain",
       {TypeInto("Text2", "1"), PasteInto("Text1", "¥12,000.00")},
       {.texts = Only(kText1, "¥12,000.00")}},
      {"yen_amount_computes",
       {TypeInto("Text2", "1"), PasteInto("Text1", "¥12,000.00"), Compute()},
       {.texts = Boxes("12000", "1", "0", Entry(1, "12000"))}},
      // A spreadsheet cell comes with its line break (CR LF from Windows
      // programs): it computes, and the box shows the number alone.
      {"pasted_spreadsheet_cells_compute_and_show_no_break",
       {TypeInto("Text2", "1"), PasteInto("Text1", "1000\n"), Compute(),
        PasteInto("Text1", "2000\n"), PasteInto("Text3", "5\r\n")},
       {.texts = Boxes("2000", "1", "5", Entry(1, "1000"))}},
      {"yuan_amount_computes",
       {PasteInto("Text1", "12,000元"), Compute()},
       {.texts = Inputs("12000", "0", "0")}},
      // As offices write them: 万 in any box, a % sign in the increase only.
      {"office_amounts_compute_and_are_written_plain",
       {TypeInto("Text2", "2"), TypeInto("Text3", "5%"),
        PasteInto("Text1", "1.2万元"), Compute()},
       {.texts =
            Boxes("12000", "2", "5", Entry(1, "12000") + Entry(2, "12600"))}},
      {"percent_sign_in_rent_or_years_resets",
       {TypeInto("Text1", "5%"), TypeInto("Text2", "5%")},
       {.texts = Inputs("0", "0", "0")}},
      {"full_stop_whatever_the_locale",
       Then(Enter("1102.5", "2", "10"),
            {Compute(), PasteInto("Text2", "1102,5")}),
       {.texts = Boxes("1102.5", "0", "10",
                       Entry(1, "1102.5") + Entry(2, "1212.75"))}},

      // An input method's composition is the method's until it ends: the
      // guard judges what it commits, and no composition costs the number
      // the box held before it.
      {"composition_abandoned_leaves_the_number",
       {TypeInto("Text1", "1000.5"), Press(Key::kSelectAll), Compose("yuan"),
        Commit("")},
       {.texts = Only(kText1, "1000.5"), .selected = {"1000.5"}}},
      {"composition_committing_a_word_is_refused",
       {TypeInto("Text1", "1000.5"), Press(Key::kSelectAll), Compose("yuan"),
        Commit("元")},
       {.texts = Only(kText1, "0"), .selected = {"0"}}},
      {"undo_after_a_refused_composition_brings_back_the_number",
       {TypeInto("Text1", "1000.5"), Press(Key::kSelectAll), Compose("yuan"),
        Commit("元"), Press(Key::kUndo)},
       {.texts = Only(kText1, "1000.5")}},
      {"composition_committing_yuan_after_a_number_computes",
       {TypeInto("Text2", "1"), TypeInto("Text1", "12000"), Compose("yuan"),
        Commit("元"), Compute()},
       {.texts = Boxes("12000", "1", "0", Entry(1, "12000"))}},
      {"compute_during_a_composition_keeps_the_number",
       {TypeInto("Text2", "1"), TypeInto("Text3", "5"),
        TypeInto("Text1", "12000"), Compose("yuan"), Compute()},
       {.texts = Boxes("12000", "1", "5", Entry(1, "12000")),
        .compute_count = 1}},
      {"focus_leaving_a_composition_keeps_the_number",
       {TypeInto("Text3", "5"), Press(Key::kSelectAll), Compose("yuan"),
        Focus("Text2")},
       {.texts = Inputs("0", "0", "5")}},
      {"clear_during_a_composition_clears",
       {TypeInto("Text1", "12000"), Compose("yuan"), Clear()},
       {.texts = Boxes("0", "0", "0", "")}},

      // Compute.
      {"worked_example",
       Then(Enter("1000.00", "3", "05"), {Compute()}),
       {.texts = Boxes("1000", "3", "5", worked),
        .shown = ShownEntry(1, "1000") + ShownEntry(2, "1050") +
                 ShownEntry(3, "1102.5"),
        .selected = {"", "", ""},
        .compute_count = 1}},
      {"written_back_rent_shows_its_start",
       Then(Enter("1234.567890123456", "1", "0"), {Compute()}),
       {.texts = Inputs("1234.56789012346", "1", "0"),
        .caret_at_start = {kText1, kText2, kText3}}},
      {"years_and_percent_are_rounded_and_written_back",
       Then(Enter("100", "3.5", "12.5"), {Compute()}),
       {.texts = Boxes("100", "4", "12",
                       Entry(1, "100") + Entry(2, "112") + Entry(3, "125.44") +
                           Entry(4, "140.4928"))}},
      {"zero_years_empties_the_output_and_counts",
       Then(Enter("1000", "2", "5"),
            {Compute(), TypeInto("Text2", "0"), Compute()}),
       {.texts = Boxes("1000", "0", "5", ""), .compute_count = 2}},
      {"longest_schedule",
       Then(Enter("1000", "32767", "0"), {PasteInto("Text3", "-1"), Compute()}),
       {.texts = Boxes("1000", "32767", "-1", longest), .compute_count = 1}},
      // A copy of whole entries is also a table that spreadsheets sum.
      {"copy_of_the_schedule_is_text_and_a_table",
       Then(Enter("1000", "3", "5"),
            {Compute(), Focus("Text4"), Press(Key::kSelectAll),
             Press(Key::kCopy)}),
       {.clipboard = worked_copy}},
      // A selection dragged loosely over lines, from year 2's caption to
      // year 4's: the text as selected, and a row for each rent it holds
      // whole. Offsets in the shown text: year 2 starts at 16, year 3 at 32,
      // year 4 at 50; 20 is year 2's "年", 55 year 4's "租".
      {"copy_of_a_loose_selection_has_the_rows_it_holds",
       Then(Enter("1000", "4", "5"), {Compute(), Focus("Text4"),
                                      SelectOutput(20, 55), Press(Key::kCopy)}),
       {.clipboard =
            Copied{"年租金：  1050\n\n" + ShownEntry(3, "1102.5") + "第 4 年",
                   Table({{"2", "1050"}, {"3", "1102.5"}})}}},
      // A double-click selects a rent whole, point, sign and exponent too.
      // Year 4's rent starts at 60, its "6" at 65; year 1's at 10.
      {"double_click_selects_a_whole_rent",
       Then(Enter("1000", "4", "5"),
            {Compute(), DoubleClickOutput(65), Press(Key::kCopy)}),
       {.clipboard = Copied{"1157.625", ""}}},
      {"double_click_selects_a_rent_with_its_sign_and_exponent",
       {TypeInto("Text2", "1"), PasteInto("Text1", "-1.5E20"), Compute(),
        DoubleClickOutput(16), Press(Key::kCopy)},
       {.clipboard = Copied{"-1.5E+20", ""}}},
      {"clear_after_the_longest_schedule",
       Then(Enter("1000", "32767", "0"),
            {PasteInto("Text3", "-1"), Compute(), Clear()}),
       {.texts = Boxes("0", "0", "0", ""), .shown = "", .compute_count = 1}},

      // The contact note and the count.
      {"nine_computations_leave_the_note_hidden",
       {Compute(9)},
       {.contact_note = false, .compute_count = 9}},
      {"the_tenth_computation_shows_the_note",
       {Compute(10)},
       {.contact_note = true, .compute_count = 10}},
      {"clear_leaves_the_note_and_the_count",
       {Compute(10), Clear()},
       {.contact_note = true, .compute_count = 10}},
      // Every computation after the 32767th still succeeds, silently.
      {"count_stops_at_its_maximum",
       {Compute(32768)},
       {.contact_note = true, .compute_count = 32767}},

      // Clear.
      {"clear_after_compute",
       Then(Enter("1000", "3", "5"), {Compute(), Clear()}),
       {.texts = Boxes("0", "0", "0", ""),
        .shown = "",
        // The focus is on the button: no box shows a highlighted 0.
        .selected = {"", "", ""},
        .focus = "Command2",
        .compute_count = 1}},

      // Overflow: reported, and the window stays as it was.
      {"overflow_is_reported_and_the_window_stays",
       Then(Enter("1000", "1", "5"),
            {Compute(), TypeInto("Text1", "1000.0"), TypeInto("Text2", "200"),
             TypeInto("Text3", "32767"), Compute()}),
       {.texts = Boxes("1000", "200", "32767", Entry(1, "1000")),
        .compute_count = 1,
        .reports = {std::string(kReport6)}}},
  };
  return table;
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> table = MakeScenarios();
  return table;
}

void RunScenario(const Scenario& scenario, ScenarioHost& host) {
  bool report_open_after_release = false;
  for (const Step& step : scenario.steps) {
    // A held key's repeats are the keyboard's, within the one step.
    const int times = step.kind == Step::Kind::kHold ? 1 : step.repeat;
    for (int i = 0; i < times; ++i) {
      switch (step.kind) {
        case Step::Kind::kTypeInto:
          host.Focus(step.target);
          host.Press(Key::kSelectAll);
          host.Type(step.text);
          break;
        case Step::Kind::kKeys:
          host.Type(step.text);
          break;
        case Step::Kind::kPress:
          host.Press(step.key);
          break;
        case Step::Kind::kHold:
          report_open_after_release = host.Hold(step.key, step.repeat);
          break;
        case Step::Kind::kPasteInto:
          host.Focus(step.target);
          host.Press(Key::kSelectAll);
          host.Paste(step.text);
          break;
        case Step::Kind::kFocus:
          host.Focus(step.target);
          break;
        case Step::Kind::kClick:
          host.Click(step.target);
          break;
        case Step::Kind::kSelect:
          host.SelectOutput(step.from, step.to);
          break;
        case Step::Kind::kDoubleClick:
          host.DoubleClickOutput(step.from);
          break;
        case Step::Kind::kCompose:
          host.Compose(step.text);
          break;
        case Step::Kind::kCommit:
          host.Commit(step.text);
          break;
      }
    }
  }

  const Expected& expected = scenario.expected;
  for (std::size_t i = 0; i < expected.texts.size(); ++i) {
    if (!expected.texts[i]) continue;
    const std::string text = host.Text(static_cast<Box>(i));
    // A long text is compared by size first, so a failure prints something
    // a person can read.
    if (text.size() > 1000) {
      EXPECT_EQ(text.size(), expected.texts[i]->size()) << kBoxNames[i];
      EXPECT_TRUE(text == *expected.texts[i]) << kBoxNames[i];
    } else {
      EXPECT_EQ(text, *expected.texts[i]) << kBoxNames[i];
    }
  }
  if (expected.shown) {
    EXPECT_EQ(host.Shown(Box::kText4), *expected.shown);
  }
  for (std::size_t i = 0; i < expected.selected.size(); ++i) {
    if (!expected.selected[i]) continue;
    EXPECT_EQ(host.SelectedText(static_cast<Box>(i)), *expected.selected[i])
        << "selection in " << kBoxNames[i];
  }
  for (const Box box : expected.caret_at_start) {
    EXPECT_EQ(host.CaretPosition(box), 0)
        << "caret in " << kBoxNames[static_cast<std::size_t>(box)];
  }
  if (expected.focus) {
    EXPECT_EQ(host.FocusedControl(), *expected.focus);
  }
  if (expected.contact_note) {
    EXPECT_EQ(host.ContactNoteVisible(), *expected.contact_note);
  }
  if (expected.compute_count) {
    EXPECT_EQ(host.ComputeCount(), *expected.compute_count);
  }
  if (expected.clipboard) {
    const Copied copied = host.Clipboard();
    EXPECT_EQ(copied.text, expected.clipboard->text);
    if (expected.clipboard->html.empty()) {
      EXPECT_EQ(copied.html, "");
    } else {
      EXPECT_NE(copied.html.find(expected.clipboard->html), std::string::npos)
          << copied.html;
    }
  }
  if (expected.report_open_after_release) {
    EXPECT_EQ(report_open_after_release, *expected.report_open_after_release);
  }
  EXPECT_EQ(host.Reports(), expected.reports);
}

}  // namespace zorvik
