// What the Win32 host adds to the shared scenarios: the window's geometry and
// font at the DPI it runs at (tests/win32/CMakeLists.txt runs this at 96, 120,
// 144 and 192) and with a larger message font, the names screen readers read,
// and the focus across a minimise or a switch of windows.

#include "win32/form1_window.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <ios>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/win32/clipboard_text.h"
#include "tests/win32/com_apartment.h"
#include "tests/win32/report_on_screen.h"
#include "win32/utf16.h"
#include "window/error_report_text.h"
#include "window/font_scale.h"

namespace zorvik::win32 {
namespace {

// The DPI this run was started at (ZORVIK_EXPECT_DPI), 96 unless given.
int ExpectedDpi() {
  const char* dpi = std::getenv("ZORVIK_EXPECT_DPI");
  return dpi == nullptr ? USER_DEFAULT_SCREEN_DPI : std::atoi(dpi);
}

// Delivers what arrives until `done` holds, or nothing has arrived for a
// moment when there is no `done`; at most 2 s either way. Under a window
// manager, a minimise, a restore or an activation completes through events
// that come back from the X server.
void Settle(HWND window, const std::function<bool()>& done = nullptr) {
  const ULONGLONG deadline = GetTickCount64() + 2000;
  ULONGLONG quiet_since = GetTickCount64();
  while (GetTickCount64() < deadline &&
         (done ? !done() : GetTickCount64() - quiet_since < 100)) {
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) ==
        WAIT_OBJECT_0) {
      DeliverPendingMessages(window);
      quiet_since = GetTickCount64();
    }
  }
}

// The client area at each DPI the tests run at: 6750 x 4215 twips, rounded to
// the nearest pixel, and grown with a 14-point message font (19 px at 96 dpi,
// where the table was laid out for 12) by the font's ratio at that DPI:
// 19 / 12 at 96, 24 / 15 at 120, 29 / 18 at 144, 38 / 24 at 192.
struct ClientSizes {
  int dpi;
  SIZE table;
  SIZE large_font;
};
constexpr ClientSizes kClientSizes[] = {{96, {450, 281}, {713, 445}},
                                        {120, {563, 351}, {900, 562}},
                                        {144, {675, 422}, {1088, 679}},
                                        {192, {900, 562}, {1425, 890}}};

// The sizes at the DPI this run was started at; null where none are listed.
const ClientSizes* ExpectedClientSizes() {
  for (const ClientSizes& sizes : kClientSizes) {
    if (sizes.dpi == ExpectedDpi()) return &sizes;
  }
  return nullptr;
}

void ExpectClientSize(HWND window, SIZE size) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, size.cx);
  EXPECT_EQ(client.bottom, size.cy);
}

const ControlRow& Row(std::string_view name) {
  return kForm1Controls.at(RowOf(name));
}

// A control's rectangle in its parent's client area.
RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect),
                  2);
  return rect;
}

// The pixels of `text` drawn black on white in `font` as a control draws it,
// with the fonts linked to it for characters it lacks.
std::vector<std::uint32_t> Drawn(HFONT font, const std::wstring& text) {
  constexpr int kSide = 64;  // one character at 200 % and a 14-point font
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap =
      CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  HGDIOBJ old_font = SelectObject(dc, font);
  RECT rect{0, 0, kSide, kSide};
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_NOPREFIX);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> drawn(pixels, pixels + kSide * kSide);
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return drawn;
}

// Each label's caption is seen whole in its font: its width ends where a box
// drawn over the label begins, and the ink of its characters ends above the
// label's bottom edge. Each Chinese character is drawn as itself, not as the
// box of a character that no font has (U+0378, unassigned): on an English
// Windows that takes the East Asian font linked to the dialog font.
void ExpectCaptionsSeenWhole(const Form1Window& window) {
  for (const ControlRow& label : kForm1Controls) {
    if (label.kind != ControlKind::kLabel) continue;
    HWND control = window.Control(label.name);
    const RECT rect = RectInParent(control);
    LONG visible_right = rect.right;
    for (const ControlRow& box : kForm1Controls) {
      if (box.kind == ControlKind::kLabel) continue;
      const RECT over = RectInParent(window.Control(box.name));
      RECT common{};
      if (IntersectRect(&common, &rect, &over) && over.left > rect.left) {
        visible_right = std::min(visible_right, over.left);
      }
    }
    HDC dc = GetDC(control);
    HGDIOBJ old_font = SelectObject(
        dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring caption = ToUtf16(label.caption);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()),
                          &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    LONG ink_bottom = 0;
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    for (const wchar_t character : caption) {
      GLYPHMETRICS glyph{};
      if (GetGlyphOutlineW(dc, character, GGO_METRICS, &glyph, 0, nullptr,
                           &identity) != GDI_ERROR) {
        ink_bottom =
            std::max(ink_bottom, metrics.tmAscent - glyph.gmptGlyphOrigin.y +
                                     static_cast<LONG>(glyph.gmBlackBoxY));
      }
    }
    SelectObject(dc, old_font);
    ReleaseDC(control, dc);
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    for (const wchar_t character : caption) {
      if (character < 0x2e80) continue;  // below the CJK blocks
      EXPECT_TRUE(Drawn(font, {character}) != Drawn(font, L"\x0378"))
          << label.name << " draws U+" << std::hex
          << static_cast<unsigned>(character) << " as a box";
    }
    EXPECT_LE(extent.cx, visible_right - rect.left) << label.name;
    EXPECT_LE(ink_bottom, rect.bottom - rect.top) << label.name;
  }
}

// The message font for the length of a test, set the way the text-size
// setting sets it; the one before comes back at the end.
class MessageFontSetting {
 public:
  // `height`: the characters' height in pixels at the system's DPI.
  explicit MessageFontSetting(LONG height) {
    before_.cbSize = sizeof before_;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof before_, &before_, 0);
    NONCLIENTMETRICSW larger = before_;
    larger.lfMessageFont.lfHeight = -height;
    set_ = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger,
                                 &larger, 0) != FALSE;
  }
  ~MessageFontSetting() {
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof before_, &before_, 0);
  }
  MessageFontSetting(const MessageFontSetting&) = delete;
  MessageFontSetting& operator=(const MessageFontSetting&) = delete;

  bool set() const { return set_; }

 private:
  NONCLIENTMETRICSW before_{};
  bool set_ = false;
};

// Each test starts from a freshly opened window, as the user sees it.
class Win32Form1Test : public testing::Test {
 protected:
  void SetUp() override {
    window_ = Form1Window::Create(GetModuleHandleW(nullptr),
                                  Form1Window::OnClose::kStay);
    ASSERT_NE(window_, nullptr);
    window_->Show(SW_SHOWNORMAL);
    Settle(hwnd());
  }

  HWND hwnd() const { return window_->hwnd(); }
  HWND Control(std::string_view name) const {
    HWND control = window_->Control(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  RECT ClientRect(HWND control) const { return RectInParent(control); }

  // Every control where the table puts it at `dpi`, grown by `font_scale`,
  // in the message font.
  void ExpectLayoutAt(int dpi, const LOGFONTW& message_font,
                      double font_scale = 1.0) const {
    const auto pixels = [&](int twips) {
      return TwipsToPixels(twips, dpi, font_scale);
    };
    for (const ControlRow& row : kForm1Controls) {
      SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(dpi));
      const RECT rect = ClientRect(Control(row.name));
      EXPECT_EQ(rect.left, pixels(row.left));
      EXPECT_EQ(rect.top, pixels(row.top));
      EXPECT_EQ(rect.right - rect.left, pixels(row.width));
      EXPECT_EQ(rect.bottom - rect.top, pixels(row.height));
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(
                     SendMessageW(Control(row.name), WM_GETFONT, 0, 0)),
                 sizeof font, &font);
      EXPECT_EQ(font.lfHeight, message_font.lfHeight);
      EXPECT_EQ(std::wstring(font.lfFaceName), message_font.lfFaceName);
    }
  }

  std::unique_ptr<Form1Window> window_;
};

LOGFONTW SystemMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return metrics.lfMessageFont;
}

TEST_F(Win32Form1Test, RunsAtTheDpiAsked) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), ExpectedDpi());
  ReleaseDC(nullptr, screen);
}

TEST_F(Win32Form1Test, OpensWholeAtItsDpi) {
  const int dpi = ExpectedDpi();
  const ClientSizes* sizes = ExpectedClientSizes();
  ASSERT_NE(sizes, nullptr) << "no client size listed for " << dpi << " dpi";
  ExpectClientSize(hwnd(), sizes->table);
  ExpectLayoutAt(dpi, SystemMessageFont());

  // Whole on its monitor's work area.
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST),
                  &monitor);
  EXPECT_GE(frame.left, monitor.rcWork.left);
  EXPECT_GE(frame.top, monitor.rcWork.top);
  EXPECT_LE(frame.right, monitor.rcWork.right);
  EXPECT_LE(frame.bottom, monitor.rcWork.bottom);
}

TEST_F(Win32Form1Test, CaptionsAreSeenWhole) {
  ExpectCaptionsSeenWhole(*window_);
}

TEST_F(Win32Form1Test, GrowsWithTheMessageFont) {
  // A 14-point message font, as the text-size setting makes it.
  const int dpi = ExpectedDpi();
  const int height = MulDiv(19, dpi, USER_DEFAULT_SCREEN_DPI);
  const ClientSizes* sizes = ExpectedClientSizes();
  ASSERT_NE(sizes, nullptr) << "no client size listed for " << dpi << " dpi";
  {
    const MessageFontSetting larger(height);
    ASSERT_TRUE(larger.set());
    // What Windows sends each top-level window when the setting changes.
    SendMessageW(hwnd(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    Settle(hwnd());
    ExpectClientSize(hwnd(), sizes->large_font);
    ExpectLayoutAt(dpi, SystemMessageFont(),
                   static_cast<double>(height) / MulDiv(12, dpi, 96));
    ExpectCaptionsSeenWhole(*window_);

    // A window opened now opens at that size.
    const auto opened = Form1Window::Create(GetModuleHandleW(nullptr),
                                            Form1Window::OnClose::kStay);
    ASSERT_NE(opened, nullptr);
    ExpectClientSize(opened->hwnd(), sizes->large_font);
  }
  // And back to the table's size with the font before.
  SendMessageW(hwnd(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  Settle(hwnd());
  ExpectClientSize(hwnd(), sizes->table);
}

TEST_F(Win32Form1Test, FollowsAMoveToAScreenOfAnotherDpi) {
  // What Windows sends when the window is dragged to another monitor. (Wine
  // has one DPI for all monitors, so the message is sent here by hand.) The
  // frame follows the system's metrics under Wine, so only the controls are
  // checked at the other DPI; on the way back, the whole window is.
  const int dpi = ExpectedDpi();
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  for (const int to : {dpi * 2, dpi}) {
    SendMessageW(hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&frame));
    Settle(hwnd());
    LOGFONTW message_font = SystemMessageFont();
    message_font.lfHeight = MulDiv(message_font.lfHeight, to, dpi);
    ExpectLayoutAt(to, message_font);
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, dpi));
}

// What a screen reader reads, the way it reads it: the control's accessible
// object through AccessibleObjectFromWindow, then its name, role and value.
struct Accessible {
  std::string name;
  std::string description;
  LONG role = 0;
  std::string value;
};

Accessible ReadAccessible(HWND control) {
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  if (FAILED(found)) {
    ADD_FAILURE() << "no accessible object: " << std::hex << found;
    return {};
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  Accessible read;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK && text != nullptr) {
    read.name = ToUtf8(std::wstring_view(text, SysStringLen(text)));
  }
  SysFreeString(text);
  text = nullptr;
  if (object->get_accDescription(self, &text) == S_OK && text != nullptr) {
    read.description = ToUtf8(std::wstring_view(text, SysStringLen(text)));
  }
  SysFreeString(text);
  text = nullptr;
  if (object->get_accValue(self, &text) == S_OK && text != nullptr) {
    read.value = ToUtf8(std::wstring_view(text, SysStringLen(text)));
  }
  SysFreeString(text);
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
    read.role = role.lVal;
  }
  object->Release();
  return read;
}

TEST_F(Win32Form1Test, ScreenReadersReadTheNames) {
  const ComApartment com;
  // Each input box by its label, as the buddies table pairs them.
  for (const LabelFor& pair : kLabelBuddies) {
    const Accessible box = ReadAccessible(Control(pair.control));
    EXPECT_EQ(box.name, Row(pair.label).caption) << pair.control;
    // Still the standard edit object: a text box holding its text.
    EXPECT_EQ(box.role, ROLE_SYSTEM_TEXT) << pair.control;
    EXPECT_EQ(box.value, Row(pair.control).caption) << pair.control;
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    EXPECT_EQ(ReadAccessible(Control(entry.control)).name, entry.name)
        << entry.control;
  }
  // The increase with its unit, as the % label says it.
  EXPECT_EQ(ReadAccessible(Control("Text3")).description, "百分比");
  // The buttons by their captions, as Windows names them.
  for (const std::string_view button : {"Command1", "Command2"}) {
    EXPECT_EQ(ReadAccessible(Control(button)).name, Row(button).caption);
  }
}

// Ctrl+Insert copies as Ctrl+C does (the scenarios copy with that): whole
// entries with their table, part of one as text alone.
TEST_F(Win32Form1Test, CtrlInsertCopiesWholeEntriesAsATable) {
  window_->form().WriteBox(
      Box::kText4,
      "第 1 年租金：  1000\n\r\n\r\n第 2 年租金：  1.5E+20\n\r\n\r\n");
  HWND output = Control("Text4");
  SetFocus(output);
  const UINT html_format = RegisterClipboardFormatW(L"HTML Format");
  const auto copy = [&](int start, int end) {
    SendMessageW(output, EM_SETSEL, start, end);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(output, WM_KEYDOWN, VK_INSERT, 0);
    DeliverPendingMessages(hwnd());
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    std::string text;
    if (OpenClipboard(hwnd())) {
      if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = ToUtf8(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    return std::make_pair(text, IsClipboardFormatAvailable(html_format) != 0);
  };
  EXPECT_EQ(copy(0, -1),
            std::make_pair(std::string("第 1 年租金：  1000\r\n\r\n"
                                       "第 2 年租金：  1.5E+20\r\n\r\n"),
                           true));
  // "1.5E+2": the second entry starts at 14 + 4, its rent 10 further on.
  EXPECT_EQ(copy(28, 34), std::make_pair(std::string("1.5E+2"), false));
}

// The overflow report: the error icon, the title and text, and one button
// reading 确定 whatever the system's language (the tests run under an
// English locale too); modal over the window; closed by Enter or Esc; and the
// window as it was afterwards, the focus back on the button that computed.
struct ReportClosing {
  std::string_view name;
  WPARAM key;
};

class Win32ReportTest : public Win32Form1Test,
                        public testing::WithParamInterface<ReportClosing> {
 protected:
  // Presses the key in the report once it shows; clicks its button instead
  // (and fails) if it is still there two seconds after.
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    const ReportOnScreen report = FindReport();
    if (report.window == nullptr) return;
    if (!seen_) {
      seen_ = report;
      owner_enabled_ = IsWindowEnabled(owner_) != FALSE;
      shown_at_ = GetTickCount64();
      PostMessageW(GetFocus(), WM_KEYDOWN, key_, 0);
    } else if (GetTickCount64() - shown_at_ > 2000 &&
               !report.button_windows.empty()) {
      ADD_FAILURE() << "the key did not close the report";
      SendMessageW(report.button_windows.front(), BM_CLICK, 0, 0);
    }
  }

  static inline std::optional<ReportOnScreen> seen_;
  static inline bool owner_enabled_ = true;
  static inline ULONGLONG shown_at_ = 0;
  static inline HWND owner_ = nullptr;
  static inline WPARAM key_ = 0;
};

void PrintTo(const ReportClosing& test, std::ostream* out) {
  *out << test.name;
}

TEST_P(Win32ReportTest, ClosesWithTheKeyAndLeavesTheWindowAsItWas) {
  window_->form().WriteBox(Box::kText1, "1E308");
  window_->form().WriteBox(Box::kText2, "2");
  window_->form().WriteBox(Box::kText3, "100");
  HWND compute = Control("Command1");
  SetFocus(compute);
  Settle(hwnd());
  seen_.reset();
  owner_ = hwnd();
  key_ = GetParam().key;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &OnTimer);
  SendMessageW(compute, BM_CLICK, 0, 0);
  KillTimer(nullptr, timer);
  // The focus comes back once the window manager has activated the window
  // again.
  Settle(hwnd(), [&] { return GetFocus() == compute; });

  ASSERT_TRUE(seen_.has_value()) << "no report was shown";
  EXPECT_EQ(seen_->title, kErrorReportTitle);
  EXPECT_EQ(seen_->text, ErrorReportText(6));
  EXPECT_TRUE(seen_->icon);
  EXPECT_EQ(seen_->buttons,
            std::vector<std::string>{std::string(kErrorReportButton)});
  EXPECT_FALSE(owner_enabled_) << "the report is not modal";
  EXPECT_FALSE(FindReport().window) << "the report is still open";
  EXPECT_TRUE(IsWindowEnabled(hwnd()));
  EXPECT_EQ(window_->NameOf(GetFocus()), "Command1");
  EXPECT_EQ(window_->output_text(), "");
  EXPECT_EQ(window_->form().ComputeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Form1, Win32ReportTest,
                         testing::Values(ReportClosing{"enter", VK_RETURN},
                                         ReportClosing{"escape", VK_ESCAPE}),
                         [](const testing::TestParamInfo<ReportClosing>& info) {
                           return std::string(info.param.name);
                         });

// A paste into an input box is judged by the box's guard before the box
// takes it, and ends as the edit control's own paste ends: the first line of
// the clipboard's text in place of the selection, the caret after it,
// undoable; or a selected 0 when the box would not hold a number, which undo
// takes back to the text before the paste. However it is pasted: Ctrl+V,
// Shift+Insert or the context menu's WM_PASTE.
enum class PasteBy { kCtrlV, kShiftInsert, kMessage };

struct PasteCase {
  std::string_view name;
  std::wstring_view before;                    // the rent box's text
  int start, end;                              // its selection before the paste
  std::optional<std::wstring_view> clipboard;  // none: no text on it
  PasteBy by;
  std::wstring_view after;  // the box's text
  int after_start, after_end;
  bool can_undo;
};

void PrintTo(const PasteCase& test, std::ostream* out) { *out << test.name; }

class Win32PasteTest : public Win32Form1Test,
                       public testing::WithParamInterface<PasteCase> {};

TEST_P(Win32PasteTest, EndsAsThePasteOfTheEditControl) {
  const PasteCase& test = GetParam();
  HWND rent = Control("Text1");
  window_->form().WriteBox(Box::kText1, ToUtf8(test.before));
  SetFocus(rent);
  SendMessageW(rent, EM_SETSEL, test.start, test.end);
  SendMessageW(rent, EM_EMPTYUNDOBUFFER, 0, 0);
  ASSERT_TRUE(SetClipboardText(hwnd(), test.clipboard));
  switch (test.by) {
    case PasteBy::kCtrlV:
      PostMessageW(rent, WM_CHAR, 0x16, 0);
      break;
    case PasteBy::kShiftInsert: {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      keys[VK_SHIFT] = 0x80;
      SetKeyboardState(keys);
      PostMessageW(rent, WM_KEYDOWN, VK_INSERT, 0);
      DeliverPendingMessages(hwnd());
      keys[VK_SHIFT] = 0;
      SetKeyboardState(keys);
      break;
    }
    case PasteBy::kMessage:
      SendMessageW(rent, WM_PASTE, 0, 0);
      break;
  }
  DeliverPendingMessages(hwnd());
  EXPECT_EQ(ToUtf8(WindowText(rent)), ToUtf8(test.after));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(rent, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(std::make_pair(static_cast<int>(start), static_cast<int>(end)),
            std::make_pair(test.after_start, test.after_end));
  EXPECT_EQ(SendMessageW(rent, EM_CANUNDO, 0, 0) != 0, test.can_undo);
  if (test.can_undo) {
    SendMessageW(rent, WM_UNDO, 0, 0);
    EXPECT_EQ(ToUtf8(WindowText(rent)), ToUtf8(test.before));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Win32PasteTest,
    testing::Values(PasteCase{"at_the_caret", L"1000", 1, 1, L"5",
                              PasteBy::kCtrlV, L"15000", 2, 2, true},
                    PasteCase{"over_part_of_the_text", L"1000", 1, 3, L"99",
                              PasteBy::kCtrlV, L"1990", 3, 3, true},
                    PasteCase{"first_line_of_several", L"0", 0, 1,
                              L"1000\r\n2000\r\n", PasteBy::kCtrlV, L"1000", 4,
                              4, true},
                    PasteCase{"line_broken_by_lf_alone", L"0", 0, 1, L"12\n34",
                              PasteBy::kCtrlV, L"12", 2, 2, true},
                    // A CR alone breaks no line for an edit control: the text
                    // is one line, and not a number.
                    PasteCase{"cr_alone_breaks_no_line", L"0", 0, 1, L"12\r34",
                              PasteBy::kCtrlV, L"0", 0, 1, true},
                    PasteCase{"not_a_number_gives_a_selected_zero", L"1000", 4,
                              4, L"x", PasteBy::kCtrlV, L"0", 0, 1, true},
                    PasteCase{"shift_insert", L"1000", 0, 0, L"2",
                              PasteBy::kShiftInsert, L"21000", 1, 1, true},
                    PasteCase{"shift_insert_not_a_number", L"1000", 0, 0, L"x",
                              PasteBy::kShiftInsert, L"0", 0, 1, true},
                    PasteCase{"context_menu", L"1000", 0, 4, L"7.5",
                              PasteBy::kMessage, L"7.5", 3, 3, true},
                    PasteCase{"nothing_on_the_clipboard", L"1000", 1, 2,
                              std::nullopt, PasteBy::kCtrlV, L"1000", 1, 2,
                              false}),
    [](const testing::TestParamInfo<PasteCase>& info) {
      return std::string(info.param.name);
    });

// The focus after the window is left and come back to, in the orders a
// system may deliver activation and restore.
enum class Change {
  kMinimise,
  kRestore,                   // restored and activated at once
  kRestoreWithoutActivating,  // shown again, not yet active
  kActivate,                  // also while still minimised
  kActivateAnotherWindow,
};

struct FocusReturn {
  std::string_view name;
  std::string_view control;  // has the focus before
  std::vector<Change> changes;
};

void PrintTo(const FocusReturn& test, std::ostream* out) { *out << test.name; }

class Win32FocusTest : public Win32Form1Test,
                       public testing::WithParamInterface<FocusReturn> {
 protected:
  void Apply(Change change) {
    switch (change) {
      case Change::kMinimise:
        ShowWindow(hwnd(), SW_MINIMIZE);
        break;
      case Change::kRestore:
        ShowWindow(hwnd(), SW_RESTORE);
        break;
      case Change::kRestoreWithoutActivating:
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        break;
      case Change::kActivate:
        SetForegroundWindow(hwnd());
        break;
      case Change::kActivateAnotherWindow:
        other_ = CreateWindowExW(0, L"STATIC", L"other",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other_);
        break;
    }
    Settle(hwnd());
  }
  void TearDown() override {
    if (other_ != nullptr) DestroyWindow(other_);
  }

  HWND other_ = nullptr;
};

TEST_P(Win32FocusTest, ReturnsToTheControlThatHadIt) {
  const FocusReturn& test = GetParam();
  SetFocus(Control(test.control));
  Settle(hwnd());
  for (const Change change : test.changes) Apply(change);
  Settle(hwnd(), [&] { return window_->NameOf(GetFocus()) == test.control; });
  EXPECT_FALSE(IsIconic(hwnd()));
  EXPECT_EQ(GetActiveWindow(), hwnd());
  EXPECT_EQ(window_->NameOf(GetFocus()), test.control);
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Win32FocusTest,
    testing::Values(
        FocusReturn{"minimised_and_restored",
                    "Text1",
                    {Change::kMinimise, Change::kRestore}},
        FocusReturn{"activated_while_minimised_then_restored",
                    "Text2",
                    {Change::kMinimise, Change::kActivate, Change::kRestore}},
        FocusReturn{"restored_then_activated",
                    "Text1",
                    {Change::kMinimise, Change::kRestoreWithoutActivating,
                     Change::kActivate}},
        FocusReturn{"another_window_and_back",
                    "Command2",
                    {Change::kActivateAnotherWindow, Change::kActivate}},
        FocusReturn{"another_window_minimised_and_back",
                    "Text4",
                    {Change::kActivateAnotherWindow, Change::kMinimise,
                     Change::kRestore}}),
    [](const testing::TestParamInfo<FocusReturn>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace zorvik::win32
