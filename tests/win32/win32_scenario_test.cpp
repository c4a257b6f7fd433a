// The scenario table on the Win32 host: the real Form1Window, driven the way
// a user's input arrives (characters and keys posted to the control with the
// focus and delivered through the window's own message loop, clicks on the
// buttons, pastes through the clipboard), with every error report dismissed
// by a watchdog.

#include <gtest/gtest.h>
#include <windows.h>

// After windows.h, which it needs.
#include <imm.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/win32/clipboard_text.h"
#include "tests/win32/report_on_screen.h"
#include "tests/window/scenarios.h"
#include "win32/form1_window.h"
#include "win32/utf16.h"
#include "window/error_report_text.h"

namespace zorvik::win32 {
namespace {

// Line breaks written as "\n", as the scenarios expect them.
std::string WithoutCr(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
    text.erase(at, 1);
  }
  return text;
}

// The HTML document of Windows' "HTML Format" clipboard data, after checking
// that its header's byte offsets point at the document and at the table in
// it: "" when they do not.
std::string HtmlDocumentOf(std::string_view data) {
  const auto offset = [&](std::string_view key) -> std::size_t {
    const std::size_t at = data.find("\r\n" + std::string(key) + ":");
    if (at == std::string_view::npos) return std::string_view::npos;
    return std::strtoul(data.data() + at + key.size() + 3, nullptr, 10);
  };
  const std::size_t start_html = offset("StartHTML");
  const std::size_t end_html = offset("EndHTML");
  const std::size_t start_fragment = offset("StartFragment");
  const std::size_t end_fragment = offset("EndFragment");
  EXPECT_TRUE(data.starts_with("Version:0.9\r\n")) << data.substr(0, 20);
  if (!(start_html <= start_fragment && start_fragment <= end_fragment &&
        end_fragment <= end_html && end_html == data.size())) {
    ADD_FAILURE() << "offsets out of order: " << data.substr(0, 120);
    return {};
  }
  EXPECT_TRUE(data.substr(start_html).starts_with("<html>"));
  const std::string_view fragment =
      data.substr(start_fragment, end_fragment - start_fragment);
  EXPECT_TRUE(fragment.starts_with("<table><tbody>") &&
              fragment.ends_with("</table>"))
      << fragment.substr(0, 40);
  return std::string(data.substr(start_html, end_html - start_html));
}

// Dismisses every report of this thread while it lives, by a click on its
// button, remembering what each said ("title|text"). A thread timer fires
// inside the report's own modal loop. Each report must show the error icon
// and one button, reading 确定 whatever the system's language.
class ReportWatchdog {
 public:
  ReportWatchdog() {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &ReportWatchdog::OnTimer);
  }
  ~ReportWatchdog() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }
  ReportWatchdog(const ReportWatchdog&) = delete;
  ReportWatchdog& operator=(const ReportWatchdog&) = delete;

  const std::vector<std::string>& seen() const { return seen_; }
  // While paused, a report stays open.
  void SetPaused(bool paused) { paused_ = paused; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (instance_ == nullptr || instance_->paused_) return;
    const ReportOnScreen report = FindReport();
    if (report.window == nullptr) return;
    instance_->seen_.push_back(report.title + "|" + report.text);
    EXPECT_TRUE(report.icon) << report.text;
    EXPECT_EQ(report.buttons,
              std::vector<std::string>{std::string(kErrorReportButton)});
    if (report.button_windows.empty()) {
      SendMessageW(report.window, WM_CLOSE, 0, 0);
    } else {
      SendMessageW(report.button_windows.front(), BM_CLICK, 0, 0);
    }
  }

  static inline ReportWatchdog* instance_ = nullptr;
  UINT_PTR timer_ = 0;
  std::vector<std::string> seen_;
  bool paused_ = false;
};

class Win32Host : public ScenarioHost {
 public:
  Win32Host()
      : window_(Form1Window::Create(GetModuleHandleW(nullptr),
                                    Form1Window::OnClose::kStay)) {
    EXPECT_NE(window_, nullptr);
    window_->Show(SW_SHOWNORMAL);
    Deliver();
  }

  void Focus(std::string_view control) override {
    SetFocus(Window(control));
    Deliver();
  }
  void Type(std::string_view utf8) override {
    for (const wchar_t c : ToUtf16(utf8)) Post(WM_CHAR, c);
  }
  void Press(Key key) override {
    switch (key) {
      case Key::kHome:
        return Post(WM_KEYDOWN, VK_HOME);
      case Key::kEnd:
        return Post(WM_KEYDOWN, VK_END);
      case Key::kBackspace:
        return Post(WM_CHAR, VK_BACK);
      case Key::kSelectAll:
        return Post(WM_CHAR, 0x01);  // Ctrl+A
      case Key::kTab:
        return Post(WM_KEYDOWN, VK_TAB);
      case Key::kShiftTab: {
        // The dialog navigation asks the keyboard state for Shift.
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
        Post(WM_KEYDOWN, VK_TAB);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return;
      }
      case Key::kEnter:
        return Post(WM_KEYDOWN, VK_RETURN);
      case Key::kEscape:
        return Post(WM_KEYDOWN, VK_ESCAPE);
      case Key::kCopy:
        return Post(WM_CHAR, 0x03);  // Ctrl+C
      case Key::kUndo:
        return Post(WM_CHAR, 0x1A);  // Ctrl+Z
      case Key::kSpace:
        Post(WM_KEYDOWN, VK_SPACE, KeyData(VK_SPACE));
        return Post(WM_KEYUP, VK_SPACE,
                    KeyData(VK_SPACE) | kWasDown | kReleased);
    }
  }
  bool Hold(Key key, int repeats) override {
    // Each message is posted from a thread timer to the focus of the moment,
    // so that a report the key-down opens takes the rest in its modal loop.
    held_ = {KeyDownCode(key), repeats};
    holding_ = this;
    watchdog_.SetPaused(true);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &Win32Host::HoldTick);
    while (!held_.done) {
      WaitMessage();
      Deliver();
    }
    KillTimer(nullptr, timer);
    return held_.open_after_release;
  }
  void SelectOutput(int from, int to) override {
    HWND output = BoxWindow(Box::kText4);
    SendMessageW(output, EM_SETSEL, OutputPosition(output, from),
                 static_cast<LPARAM>(OutputPosition(output, to)));
    Deliver();
  }
  void DoubleClickOutput(int at) override {
    HWND output = BoxWindow(Box::kText4);
    SetFocus(output);
    const LRESULT corner =
        SendMessageW(output, EM_POSFROMCHAR, OutputPosition(output, at), 0);
    const LRESULT next =
        SendMessageW(output, EM_POSFROMCHAR, OutputPosition(output, at + 1), 0);
    // The middle of the character, on its line.
    const int x = (LOWORD(corner) + LOWORD(next)) / 2;
    const int y = HIWORD(corner) + 4;
    const LPARAM point = MAKELPARAM(x, y);
    for (const UINT message :
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      const WPARAM buttons = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
      PostMessageW(output, message, buttons, point);
      Deliver();
    }
  }
  void Paste(std::string_view utf8) override {
    const std::wstring text = ToUtf16(utf8);
    ASSERT_TRUE(SetClipboardText(window_->hwnd(), text));
    Post(WM_CHAR, 0x16);  // Ctrl+V
  }
  // Through the input context of the box with the focus, as an input
  // method composes: the edit control hears of it by the WM_IME_ messages
  // the system's input method sends it.
  void Compose(std::string_view pinyin) override {
    std::wstring text = ToUtf16(pinyin);
    WithContext([&](HIMC context) {
      ImmSetCompositionStringW(context, SCS_SETSTR, text.data(),
                               static_cast<DWORD>(text.size() * 2), nullptr, 0);
    });
  }
  void Commit(std::string_view utf8) override {
    std::wstring text = ToUtf16(utf8);
    WithContext([&](HIMC context) {
      if (text.empty()) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
        return;
      }
      ImmSetCompositionStringW(context, SCS_SETSTR, text.data(),
                               static_cast<DWORD>(text.size() * 2), nullptr, 0);
      ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    });
  }
  void Click(std::string_view button) override {
    SendMessageW(Window(button), BM_CLICK, 0, 0);
    Deliver();
  }

  template <typename Use>
  void WithContext(Use use) {
    HWND focus = GetFocus();
    HIMC context = ImmGetContext(focus);
    ASSERT_NE(context, nullptr);
    use(context);
    ImmReleaseContext(focus, context);
    Deliver();
  }

  std::string Text(Box box) override {
    if (box == Box::kText4) return window_->output_text();
    return ToUtf8(WindowText(BoxWindow(box)));
  }
  std::string Shown(Box box) override {
    return WithoutCr(ToUtf8(WindowText(BoxWindow(box))));
  }
  std::string SelectedText(Box box) override {
    // An edit control shows its selection only while it has the focus.
    HWND edit = BoxWindow(box);
    if (GetFocus() != edit) return {};
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return ToUtf8(WindowText(edit).substr(start, end - start));
  }
  int CaretPosition(Box box) override {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(BoxWindow(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end);
  }
  std::string FocusedControl() override {
    return std::string(window_->NameOf(GetFocus()));
  }
  Copied Clipboard() override {
    Copied copied;
    if (!OpenClipboard(window_->hwnd())) {
      ADD_FAILURE() << "the clipboard cannot be opened";
      return copied;
    }
    if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
      copied.text =
          WithoutCr(ToUtf8(static_cast<const wchar_t*>(GlobalLock(text))));
      GlobalUnlock(text);
    }
    if (HANDLE html =
            GetClipboardData(RegisterClipboardFormatW(L"HTML Format"))) {
      copied.html = HtmlDocumentOf(static_cast<const char*>(GlobalLock(html)));
      GlobalUnlock(html);
    }
    CloseClipboard();
    return copied;
  }
  bool ContactNoteVisible() override {
    return IsWindowVisible(Window("Label4")) != FALSE;
  }
  std::int16_t ComputeCount() override {
    return window_->form().ComputeCount();
  }
  std::vector<std::string> Reports() override { return watchdog_.seen(); }

 private:
  HWND Window(std::string_view name) {
    HWND control = window_->Control(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  HWND BoxWindow(Box box) {
    return Window(kBoxNames[static_cast<std::size_t>(box)]);
  }
  // The edit control's position of what the output box shows at `shown`:
  // it counts each CR LF break as two characters.
  static WPARAM OutputPosition(HWND output, int shown) {
    const std::wstring text = WindowText(output);
    std::size_t at = 0;
    for (int counted = 0; counted < shown && at < text.size(); ++counted) {
      at += text.compare(at, 2, L"\r\n") == 0 ? 2 : 1;
    }
    return static_cast<WPARAM>(at);
  }
  // lParam of a key's message as the keyboard gives it: a repeat count of 1
  // and the scan code; kWasDown says the key was down already (an
  // auto-repeat, and the key up), kReleased that it is being released.
  static LPARAM KeyData(WPARAM code) {
    return 1 | static_cast<LPARAM>(
                   MapVirtualKeyW(static_cast<UINT>(code), MAPVK_VK_TO_VSC))
                   << 16;
  }
  static constexpr LPARAM kWasDown = LPARAM{1} << 30;
  static constexpr LPARAM kReleased = LPARAM{1} << 31;
  // One step of a held key: the down, its repeats, the up, then a look.
  static void CALLBACK HoldTick(HWND, UINT, UINT_PTR, DWORD) {
    HeldKey& held = holding_->held_;
    const LPARAM data = KeyData(held.code) | (held.sent > 0 ? kWasDown : 0);
    if (held.sent <= held.repeats) {
      PostMessageW(GetFocus(), WM_KEYDOWN, held.code, data);
    } else if (held.sent == held.repeats + 1) {
      PostMessageW(GetFocus(), WM_KEYUP, held.code, data | kReleased);
    } else if (!held.done) {
      held.open_after_release = FindReport().window != nullptr;
      holding_->watchdog_.SetPaused(false);
      held.done = true;
    }
    ++held.sent;
  }
  // A key or character for the control with the focus, through the queue.
  void Post(UINT message, WPARAM wparam, LPARAM lparam = 0) {
    PostMessageW(GetFocus(), message, wparam, lparam);
    Deliver();
  }
  // The virtual key a key arrives as in WM_KEYDOWN, or 0 for the keys that
  // arrive as characters here.
  static WPARAM KeyDownCode(Key key) {
    switch (key) {
      case Key::kHome:
        return VK_HOME;
      case Key::kEnd:
        return VK_END;
      case Key::kTab:
        return VK_TAB;
      case Key::kEnter:
        return VK_RETURN;
      case Key::kEscape:
        return VK_ESCAPE;
      case Key::kSpace:
        return VK_SPACE;
      case Key::kShiftTab:
      case Key::kBackspace:
      case Key::kSelectAll:
      case Key::kCopy:
      case Key::kUndo:
        break;
    }
    return 0;
  }
  void Deliver() { DeliverPendingMessages(window_->hwnd()); }

  struct HeldKey {
    WPARAM code = 0;
    int repeats = 0;
    int sent = 0;
    bool open_after_release = false;
    bool done = false;
  };
  static inline Win32Host* holding_ = nullptr;

  ReportWatchdog watchdog_;
  std::unique_ptr<Form1Window> window_;
  HeldKey held_;
};

class Win32ScenarioTest : public testing::TestWithParam<Scenario> {};

TEST_P(Win32ScenarioTest, Behaves) {
  Win32Host host;
  RunScenario(GetParam(), host);
}

INSTANTIATE_TEST_SUITE_P(Form1, Win32ScenarioTest,
                         testing::ValuesIn(Scenarios()), ScenarioName);

}  // namespace
}  // namespace zorvik::win32
