// Times the Windows window's response (under Wine here): from the compute
// click to the painted output box, a clear right after the longest
// schedule, a copy of all of it, and long pastes into the rent box. Prints
// the median and the spread of several runs; the figures are for people to
// read, not a pass/fail check.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/rent_schedule.h"
#include "tests/win32/clipboard_text.h"
#include "win32/form1_window.h"
#include "win32/utf16.h"
#include "window/output_text.h"

namespace {

using zorvik::Box;
using zorvik::win32::Form1Window;

struct Figures {
  double median_ms;
  double min_ms;
  double max_ms;
};

// Runs `prepare` untimed, then times `action` followed by a synchronous paint
// of the window and the messages it posted.
Figures Time(Form1Window& window, int runs,
             const std::function<void()>& prepare,
             const std::function<void()>& action) {
  std::vector<double> samples;
  for (int run = 0; run < runs; ++run) {
    prepare();
    zorvik::win32::DeliverPendingMessages(window.hwnd());
    const auto start = std::chrono::steady_clock::now();
    action();
    RedrawWindow(window.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    zorvik::win32::DeliverPendingMessages(window.hwnd());
    GdiFlush();
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    samples.push_back(elapsed.count());
  }
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples.front(), samples.back()};
}

void Print(const char* what, int runs, const Figures& f) {
  std::printf("%-34s median %9.2f ms  (min %9.2f, max %9.2f, %d runs)\n", what,
              f.median_ms, f.min_ms, f.max_ms, runs);
}

}  // namespace

int main(int argc, char* argv[]) {
  const auto window = Form1Window::Create(GetModuleHandleW(nullptr),
                                          Form1Window::OnClose::kStay);
  if (window == nullptr) return 1;
  window->Show(SW_SHOWNORMAL);
  zorvik::win32::DeliverPendingMessages(window->hwnd());
  HWND compute = window->Control("Command1");
  HWND clear = window->Control("Command2");

  // Rent 1000 at -1 % keeps every entry at a full 15 significant digits.
  const auto enter = [&](const char* years) {
    return [&, years] {
      SendMessageW(clear, BM_CLICK, 0, 0);
      window->form().WriteBox(Box::kText1, "1000");
      window->form().WriteBox(Box::kText2, years);
      window->form().WriteBox(Box::kText3, "-1");
    };
  };
  const auto click = [](HWND button) {
    return [button] { SendMessageW(button, BM_CLICK, 0, 0); };
  };

  // `--paste-length N` times only the pastes, of N characters each, to see
  // how their time grows with the length.
  std::size_t length = 1 << 20;
  const bool pastes_only =
      argc == 3 && std::string(argv[1]) == "--paste-length";
  if (pastes_only) length = std::stoul(argv[2]);

  std::printf("Windows window response\n");
  if (!pastes_only) {
    Print("compute 100 years -> painted", 9,
          Time(*window, 9, enter("100"), click(compute)));
    Print("compute 32767 years -> painted", 3,
          Time(*window, 3, enter("32767"), click(compute)));
    Print("clear after 32767 years", 3,
          Time(
              *window, 3,
              [&] {
                enter("32767")();
                SendMessageW(compute, BM_CLICK, 0, 0);
              },
              click(clear)));
    // The edit control's own share of that: the output box given the same
    // text, as the program shows it, in one WM_SETTEXT.
    HWND output = window->Control("Text4");
    const std::wstring longest = zorvik::win32::ToUtf16(zorvik::DisplayForm(
        zorvik::BuildSchedule({1000.0, 32767, -1}), "\r\n"));
    Print("the output box given that text", 3,
          Time(*window, 3, click(clear),
               [&] { SetWindowTextW(output, longest.c_str()); }));
    // Select all and copy: the text and the table put on the clipboard.
    Print("copy all of 32767 years", 3,
          Time(
              *window, 3,
              [&] {
                enter("32767")();
                SendMessageW(compute, BM_CLICK, 0, 0);
                SendMessageW(output, EM_SETSEL, 0, -1);
              },
              [&] { SendMessageW(output, WM_COPY, 0, 0); }));
  }

  // Hostile pastes into the rent box, by Ctrl+V over its selected text: a
  // megabyte of digits (a number far beyond the double range) and a megabyte
  // of text, both reset to 0 at once, and numbers a megabyte long, written
  // at once in their normal form.
  HWND rent = window->Control("Text1");
  const auto copied = [&](const std::wstring& text) {
    return [&, text] {
      zorvik::win32::SetClipboardText(window->hwnd(), text);
      SetFocus(rent);
      SendMessageW(rent, EM_SETSEL, 0, -1);
      zorvik::win32::DeliverPendingMessages(window->hwnd());
    };
  };
  const auto ctrl_v = [&] { SendMessageW(rent, WM_CHAR, 0x16, 0); };
  const auto check = [&](const wchar_t* expected) {
    if (zorvik::win32::WindowText(rent) != expected) {
      std::printf("  (the rent box does not hold %ls after the paste)\n",
                  expected);
    }
  };
  const std::wstring zeros(length, L'0');
  std::printf("pastes of %zu characters:\n", length);
  Print("paste digits -> painted", 3,
        Time(*window, 3, copied(std::wstring(length, L'1')), ctrl_v));
  check(L"0");
  Print("paste text -> painted", 3,
        Time(*window, 3, copied(std::wstring(length, L'x')), ctrl_v));
  check(L"0");
  Print("paste zeros -> painted", 3, Time(*window, 3, copied(zeros), ctrl_v));
  check(L"0");
  Print("paste 1. and zeros -> painted", 3,
        Time(*window, 3, copied(L"1." + zeros), ctrl_v));
  check(L"1");
  Print("paste a decimal -> painted", 3,
        Time(*window, 3, copied(L"0." + std::wstring(length, L'1')), ctrl_v));
  check(L"0.111111111111111");
  return 0;
}
