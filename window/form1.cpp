#include "window/form1.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/numeric_text.h"
#include "core/rent_schedule.h"
#include "core/runtime_error.h"

namespace zorvik {
namespace {

// The guard and the compute action must agree on what converts, so each box
// has exactly one conversion. The text Command1 writes back for `text`, or
// nothing when it does not convert.
std::optional<std::string> NormalForm(Box box, std::string_view text) {
  try {
    if (box == Box::kText1) return FormatDouble(ParseDouble(text));
    // Only the increase may carry its % sign, as RunCompute reads it.
    const PercentSign percent_sign =
        box == Box::kText3 ? PercentSign::kAccepted : PercentSign::kRefused;
    return FormatInteger(ParseInteger(text, percent_sign));
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// Characters of UTF-8 text: the bytes that start one.
std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

void Form1::FormLoad() { compute_count_ = 0; }

void Form1::InputGuard(Box box) {
  if (box == Box::kText4 || Composing(box)) return;
  Guard(box, controls_.Text(box), Change::kUser);
}

void Form1::CompositionStart(Box box) {
  if (box != Box::kText4) composing_[static_cast<std::size_t>(box)] = true;
}

void Form1::CompositionEnd(Box box, Ending how) {
  if (box == Box::kText4) return;
  // The end of one already ended, by a button or as the focus left: some
  // methods commit late, after the focus has gone.
  if (!Composing(box)) how = Ending::kFocusLeft;
  composing_[static_cast<std::size_t>(box)] = false;
  const std::string text = controls_.Text(box);
  const std::string& good = good_texts_[static_cast<std::size_t>(box)];
  if (how == Ending::kCommitted ||
      (NormalForm(box, text) && how == Ending::kFocusLeft)) {
    Guard(box, text, Change::kUser);
    return;
  }
  // Abandoned, or a non-number left behind by a focus on its way out: the
  // box holds its number again, whatever the composition had replaced.
  if (text == good) return;
  ReplaceByEdit(box, std::string(good));
  if (controls_.HasFocus(box)) controls_.SelectAll(box);
}

void Form1::AbandonCompositions() {
  for (std::size_t i = 0; i < composing_.size(); ++i) {
    if (!composing_[i]) continue;
    const auto box = static_cast<Box>(i);
    controls_.AbandonComposition(box);
    CompositionEnd(box, Ending::kFocusLeft);
  }
}

bool Form1::GuardPaste(Box box, std::string_view text) {
  if (box == Box::kText4) return true;
  const std::optional<std::string> normal = NormalForm(box, text);
  if (!normal) {
    Reset(box, Change::kUser);
    return false;
  }
  // The host lets it in, and its report of the change runs InputGuard.
  if (CharacterCount(text) <= kLongestPaste) return true;
  ReplaceByEdit(box, *normal);
  return false;
}

bool Form1::Guard(Box box, std::string_view text, Change change) {
  if (!NormalForm(box, text)) {
    Reset(box, change);
    return false;
  }
  good_texts_[static_cast<std::size_t>(box)] = text;
  return true;
}

void Form1::ReplaceByEdit(Box box, const std::string& text) {
  // The host's edit may report changes of its own, which run the guard
  // nested: the box's good text is `text` before it starts.
  const std::string before =
      std::exchange(good_texts_[static_cast<std::size_t>(box)], text);
  controls_.ReplaceByEdit(box, before, text);
}

void Form1::Reset(Box box, Change change) {
  if (change == Change::kUser) {
    // The refused text never counts as the box's: undo goes back past it to
    // the text the box held before, whatever the platform would undo.
    ReplaceByEdit(box, "0");
  } else {
    // Writing "0" runs the guard again, nested; "0" converts, so it stops
    // there.
    WriteBox(box, "0");
  }
  // Only the box the user is in gets its 0 selected, so that the next key
  // replaces it; a box the program resets elsewhere stays unhighlighted.
  if (controls_.HasFocus(box)) controls_.SelectAll(box);
}

void Form1::WriteBox(Box box, std::string_view text) {
  controls_.SetText(box, text);
  if (box != Box::kText4) Guard(box, text, Change::kProgram);
}

void Form1::Command1Click() {
  // What a composition still open would replace is not the user's yet.
  AbandonCompositions();
  controls_.SetBusy(true);
  const ComputeOutcome outcome =
      RunCompute(controls_.Text(Box::kText1), controls_.Text(Box::kText2),
                 controls_.Text(Box::kText3));
  if (outcome.normal_forms) {
    WriteBox(Box::kText1, outcome.normal_forms->rent);
    WriteBox(Box::kText2, outcome.normal_forms->years);
    WriteBox(Box::kText3, outcome.normal_forms->percent);
  }
  if (outcome.error) {
    // The action did not complete: the output box keeps its earlier text and
    // the count stays. The window stays open once the report is dismissed.
    controls_.SetBusy(false);
    controls_.ShowErrorReport(outcome.error->number);
    return;
  }
  WriteBox(Box::kText4, *outcome.schedule);
  controls_.SetBusy(false);
  // The count stops at its maximum instead of overflowing: every further
  // computation succeeded and must not be reported as an error.
  if (compute_count_ < kMaxComputeCount) ++compute_count_;
  if (compute_count_ >= kContactNoteAfter) controls_.ShowContactNote();
}

void Form1::Command2Click() {
  AbandonCompositions();
  // Each input's guard turns the empty text into "0" at once.
  WriteBox(Box::kText1, "");
  WriteBox(Box::kText2, "");
  WriteBox(Box::kText3, "");
  WriteBox(Box::kText4, "");
}

}  // namespace zorvik
