#include "window/form1.h"

#include "core/numeric_text.h"
#include "core/rent_schedule.h"
#include "core/runtime_error.h"

namespace zorvik {
namespace {

// The guard and the compute action must agree on what converts, so each box
// has exactly one conversion.
bool Converts(Box box, std::string_view text) {
  try {
    if (box == Box::kText1) {
      ParseDouble(text);
    } else {
      ParseInteger(text);
    }
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace

void Form1::FormLoad() { compute_count_ = 0; }

void Form1::InputGuard(Box box) {
  if (box != Box::kText4) GuardText(box, controls_.Text(box));
}

bool Form1::GuardText(Box box, std::string_view text) {
  if (box == Box::kText4 || Converts(box, text)) return true;
  // Writing "0" runs this guard again, nested; "0" converts, so it stops
  // there. Only the box the user is in gets its 0 selected, so that the next
  // key replaces it; a box the program resets elsewhere stays unhighlighted.
  WriteBox(box, "0");
  if (controls_.HasFocus(box)) controls_.SelectAll(box);
  return false;
}

void Form1::WriteBox(Box box, std::string_view text) {
  controls_.SetText(box, text);
  InputGuard(box);
}

void Form1::Command1Click() {
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
  // Each input's guard turns the empty text into "0" at once.
  WriteBox(Box::kText1, "");
  WriteBox(Box::kText2, "");
  WriteBox(Box::kText3, "");
  WriteBox(Box::kText4, "");
}

}  // namespace zorvik
