#include "win32/form1_window.h"

#include <commctrl.h>
#include <imm.h>
#include <objbase.h>

#include <algorithm>
#include <numeric>
#include <utility>

#include "win32/accessible_name.h"
#include "win32/compat.h"
#include "win32/error_report.h"
#include "win32/layout_scale.h"
#include "win32/rent_word_break.h"
#include "win32/resource.h"
#include "win32/schedule_copy.h"
#include "win32/utf16.h"
#include "window/error_report_text.h"
#include "window/font_scale.h"
#include "window/output_text.h"

namespace zorvik::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"ZorvikForm1";
// Control ids start above IDOK and IDCANCEL, which IsDialogMessage sends for
// Enter and Esc: neither is a control's click.
constexpr int kFirstControlId = 100;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR kKeySubclassId = 1;
constexpr UINT_PTR kFocusSubclassId = 3;        // 2 is the accessible name's
constexpr UINT_PTR kCompositionSubclassId = 5;  // 4 is the paste judge's
// Posted to an input box when a composition ends, to judge it once the box
// has taken what it committed.
constexpr UINT kCompositionEnded = WM_APP + 1;

// Tab and Esc belong to the window, not to the multi-line output box (which
// would otherwise keep them), and Ctrl+A selects everything in every box, as
// it does on other platforms and newer Windows versions.
LRESULT CALLBACK BoxKeys(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                         UINT_PTR /*id*/, DWORD_PTR /*data*/) {
  if (message == WM_GETDLGCODE) {
    return DefSubclassProc(hwnd, message, wparam, lparam) &
           ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  if (message == WM_CHAR && wparam == 0x01) {  // Ctrl+A
    SendMessageW(hwnd, EM_SETSEL, 0, -1);
    return 0;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// Notes in `data` (an HWND) each control that gets the focus, whoever gives
// it: a click, Tab, the program. The window gives the focus back to it.
LRESULT CALLBACK NoteFocus(HWND hwnd, UINT message, WPARAM wparam,
                           LPARAM lparam, UINT_PTR /*id*/, DWORD_PTR data) {
  if (message == WM_SETFOCUS) *reinterpret_cast<HWND*>(data) = hwnd;
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// Has the input method drop the composition under way in `edit`.
void CancelComposition(HWND edit) {
  if (HIMC context = ImmGetContext(edit)) {
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    ImmReleaseContext(edit, context);
  }
}

// The window's outer size for its client area of the layout at `dpi`, grown
// by `font_scale`.
SIZE OuterSizeAt(UINT dpi, double font_scale) {
  const int scale = static_cast<int>(dpi);
  return WindowSizeForClient(
      {TwipsToPixels(kClientWidthTwips, scale, font_scale),
       TwipsToPixels(kClientHeightTwips, scale, font_scale)},
      kWindowStyle, kWindowExStyle, dpi);
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassFor(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
  switch (kind) {
    case ControlKind::kLabel:
      return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kInputBox:
      return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
              WS_EX_CLIENTEDGE};
    case ControlKind::kOutputBox:
      return {L"EDIT",
              kChild | WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE |
                  ES_READONLY | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case ControlKind::kButton:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
  }
  return {L"STATIC", kChild, 0};
}

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  if (GetClassInfoExW(instance, kWindowClass, &window_class)) return true;
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = DefWindowProcW;  // replaced once the object binds
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIdIcon));
  window_class.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIdIcon), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                 LR_DEFAULTCOLOR));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) != 0;
}

}  // namespace

std::unique_ptr<Form1Window> Form1Window::Create(HINSTANCE instance,
                                                 OnClose on_close) {
  // Themed controls: the manifest asks for Common Controls 6, which has to be
  // loaded before the first control is made.
  INITCOMMONCONTROLSEX common_controls{sizeof common_controls,
                                       ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common_controls);
  if (!RegisterWindowClass(instance)) return nullptr;
  std::unique_ptr<Form1Window> window(new Form1Window(instance, on_close));
  if (window->hwnd_ == nullptr) return nullptr;
  return window;
}

Form1Window::Form1Window(HINSTANCE instance, OnClose on_close)
    : instance_(instance), on_close_(on_close) {
  // Screen readers reach the controls' accessible objects through COM, on
  // the window's thread.
  com_initialized_ =
      SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  const std::wstring caption = ToUtf16(kWindowCaption);
  // Which monitor the window lands on, and so its DPI, is known only once it
  // exists: it is created hidden at the 96-dpi size and fitted before it is
  // first shown.
  const SIZE outer = OuterSizeAt(USER_DEFAULT_SCREEN_DPI, 1.0);
  hwnd_ = CreateWindowExW(kWindowExStyle, kWindowClass, caption.c_str(),
                          kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx,
                          outer.cy, nullptr, nullptr, instance_, nullptr);
  if (hwnd_ == nullptr) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(&Form1Window::WindowProc));
  output_background_ = GetSysColorBrush(COLOR_WINDOW);
  CreateControls();
  NameControls();
  FitToMonitor();
  form_.FormLoad();
}

Form1Window::~Form1Window() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (font_ != nullptr) DeleteObject(font_);
  if (com_initialized_) CoUninitialize();
}

void Form1Window::CreateControls() {
  // The tab order is the order of the window's children, and the first child
  // is drawn on top. So the controls that take the focus come first, in the
  // table's tab order, and the labels last: text boxes are drawn above the
  // labels that reach under them.
  std::array<std::size_t, kForm1Controls.size()> order{};
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [](std::size_t a, std::size_t b) {
                     const ControlRow& x = kForm1Controls[a];
                     const ControlRow& y = kForm1Controls[b];
                     const bool x_label = x.kind == ControlKind::kLabel;
                     const bool y_label = y.kind == ControlKind::kLabel;
                     if (x_label != y_label) return y_label;
                     return !x_label && x.tab_index < y.tab_index;
                   });
  HWND previous = HWND_TOP;
  // The boxes are born with their captions; that is the program's writing,
  // not a change for the guards, which could not read a box not yet stored.
  writing_ = true;
  for (const std::size_t row_index : order) {
    const ControlRow& row = kForm1Controls[row_index];
    const ControlClass control_class = ClassFor(row.kind);
    const DWORD visible = row.initially_visible ? WS_VISIBLE : 0;
    const std::wstring caption = ToUtf16(row.caption);
    HWND control = CreateWindowExW(
        control_class.ex_style, control_class.name, caption.c_str(),
        control_class.style | visible, 0, 0, 0, 0, hwnd_,
        reinterpret_cast<HMENU>(
            static_cast<INT_PTR>(kFirstControlId + row_index)),
        instance_, nullptr);
    SetWindowPos(control, previous, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
    controls_[row_index] = control;
    if (row.kind == ControlKind::kInputBox ||
        row.kind == ControlKind::kOutputBox) {
      // No length limit of their own (an edit control's default is 32767
      // characters), so a long paste reaches the guard whole.
      SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
      SetWindowSubclass(control, &BoxKeys, kKeySubclassId, 0);
    }
    if (row.kind == ControlKind::kInputBox) {
      JudgePastes(control, paste_judge_);
      SetWindowSubclass(control, &WatchComposition, kCompositionSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
    }
    if (row.kind == ControlKind::kOutputBox) {
      CopySchedulesAsTables(control);
      SelectRentsWhole(control);
    }
    if (row.kind != ControlKind::kLabel) {
      SetWindowSubclass(control, &NoteFocus, kFocusSubclassId,
                        reinterpret_cast<DWORD_PTR>(&last_focus_));
    }
  }
  writing_ = false;
}

void Form1Window::NameControls() {
  for (const LabelFor& pair : kLabelBuddies) {
    SetAccessibleName(Control(pair.control),
                      ToUtf16(kForm1Controls[RowOf(pair.label)].caption),
                      ToUtf16(DescriptionOf(pair.control)));
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    SetAccessibleName(Control(entry.control), ToUtf16(entry.name),
                      ToUtf16(DescriptionOf(entry.control)));
  }
}

void Form1Window::FitToMonitor() {
  const UINT dpi = DpiForWindow(hwnd_);
  Layout(dpi);
  const SIZE outer = OuterSizeAt(dpi, font_scale_);
  RECT placed{};
  GetWindowRect(hwnd_, &placed);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  // Where the system put it, moved in as far as needed; a window larger than
  // the work area keeps its title bar on the screen.
  const RECT& work = monitor.rcWork;
  const LONG left =
      std::max(work.left, std::min(placed.left, work.right - outer.cx));
  const LONG top =
      std::max(work.top, std::min(placed.top, work.bottom - outer.cy));
  SetWindowPos(hwnd_, nullptr, left, top, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::Layout(UINT dpi) {
  HFONT font = CreateMessageFont(dpi);
  font_scale_ = MessageFontScale(font, dpi);
  const auto pixels = [scale = static_cast<int>(dpi), this](int twips) {
    return TwipsToPixels(twips, scale, font_scale_);
  };
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    const ControlRow& row = kForm1Controls[i];
    SetWindowPos(controls_[i], nullptr, pixels(row.left), pixels(row.top),
                 pixels(row.width), pixels(row.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font),
                 TRUE);
  }
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;
}

void Form1Window::Show(int show_command) {
  HWND first = Control(InitialFocus().name);
  SendMessageW(first, EM_SETSEL, 0, -1);
  last_focus_ = first;
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  RestoreFocus();
}

void Form1Window::RestoreFocus() {
  if (IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) return;
  HWND control =
      IsChild(hwnd_, last_focus_) ? last_focus_ : Control(InitialFocus().name);
  if (GetFocus() != control) SetFocus(control);
}

HWND Form1Window::Control(std::string_view name) const {
  const std::size_t row = RowOf(name);
  return row < controls_.size() ? controls_[row] : nullptr;
}

std::string_view Form1Window::NameOf(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control && control != nullptr) {
      return kForm1Controls[i].name;
    }
  }
  return {};
}

LRESULT CALLBACK Form1Window::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                         LPARAM lparam) {
  auto* self =
      reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CTLCOLORSTATIC:
      // A read-only edit control draws on the dialog colour; the output box
      // keeps the white of a text box, as on other platforms.
      if (reinterpret_cast<HWND>(lparam) == Control("Text4")) {
        auto* dc = reinterpret_cast<HDC>(wparam);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(output_background_);
      }
      break;
    case WM_DPICHANGED: {
      // Moved to a screen of another density: the layout and the font scale
      // with it, and the client area keeps its size in twips.
      const UINT dpi = HIWORD(wparam);
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      Layout(dpi);
      const SIZE outer = OuterSizeAt(dpi, font_scale_);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, outer.cx,
                   outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETTINGCHANGE:
      // The text-size setting changes the message font: the window takes
      // the new font and grows or shrinks with it where it stands.
      FitToMonitor();
      break;
    // The focus goes back where the user left it, after a switch of windows
    // or a minimise. Activation and restore come in either order: a window
    // manager may activate the window while it is still minimised, when no
    // control can take the focus, so the restore tries again.
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) RestoreFocus();
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_SIZE:
      if (wparam == SIZE_RESTORED && GetActiveWindow() == hwnd_) {
        RestoreFocus();
      }
      break;
    case WM_DESTROY:
      if (on_close_ == OnClose::kQuit) PostQuitMessage(0);
      hwnd_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void Form1Window::OnCommand(int id, int code) {
  if (id == IDOK) {
    PressFocusedButton();
    return;
  }
  const int row_index = id - kFirstControlId;
  if (row_index < 0 || row_index >= static_cast<int>(kForm1Controls.size())) {
    return;  // IDCANCEL from Esc: nothing happens
  }
  const std::string_view name = kForm1Controls[row_index].name;
  if (code == EN_CHANGE && !writing_) {
    for (std::size_t i = 0; i < 3; ++i) {
      if (name == kBoxNames[i]) form_.InputGuard(static_cast<Box>(i));
    }
  } else if (code == BN_CLICKED) {
    if (name == "Command1") form_.Command1Click();
    if (name == "Command2") form_.Command2Click();
  }
}

LRESULT CALLBACK Form1Window::WatchComposition(HWND edit, UINT message,
                                               WPARAM wparam, LPARAM lparam,
                                               UINT_PTR /*id*/,
                                               DWORD_PTR data) {
  auto& self = *reinterpret_cast<Form1Window*>(data);
  const std::string_view name = self.NameOf(edit);
  const auto named = std::find(kBoxNames.begin(), kBoxNames.begin() + 3, name);
  if (named == kBoxNames.begin() + 3) {
    return DefSubclassProc(edit, message, wparam, lparam);
  }
  const auto box = static_cast<Box>(named - kBoxNames.begin());
  switch (message) {
    case WM_IME_STARTCOMPOSITION:
      self.composition_committed_ = false;
      self.form_.CompositionStart(box);
      break;
    case WM_IME_COMPOSITION:
      if ((lparam & GCS_RESULTSTR) != 0) self.composition_committed_ = true;
      break;
    case WM_IME_ENDCOMPOSITION: {
      // The control takes the composition out of its text first.
      const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
      if (self.composition_abandoned_) return result;
      if (self.composition_leaving_) {
        self.form_.CompositionEnd(box, Form1::Ending::kFocusLeft);
      } else {
        // What was committed may still be on its way as characters
        // (WM_IME_CHAR, posted): the end is judged after them.
        PostMessageW(edit, kCompositionEnded, 0, 0);
      }
      return result;
    }
    case kCompositionEnded:
      if (self.form_.Composing(box)) {
        self.form_.CompositionEnd(box, self.composition_committed_
                                           ? Form1::Ending::kCommitted
                                           : Form1::Ending::kAbandoned);
      }
      return 0;
    case WM_KILLFOCUS:
      // What is still composed as the focus leaves is dropped rather than
      // committed: the user was reaching for a button or another box.
      if (self.form_.Composing(box)) {
        self.composition_leaving_ = true;
        CancelComposition(edit);
        self.composition_leaving_ = false;
        if (self.form_.Composing(box)) {
          self.form_.CompositionEnd(box, Form1::Ending::kFocusLeft);
        }
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wparam, lparam);
}

void Form1Window::PressFocusedButton() {
  // With no default button, the window hears Enter as IDOK wherever the
  // focus is. A button that has the focus is pressed by it, as by Space;
  // in a box Enter does nothing.
  HWND focus = GetFocus();
  const std::string_view name = NameOf(focus);
  if (!name.empty() &&
      kForm1Controls[RowOf(name)].kind == ControlKind::kButton) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

HWND Form1Window::BoxWindow(Box box) const {
  return Control(kBoxNames[static_cast<std::size_t>(box)]);
}

bool Form1Window::JudgePaste(HWND edit, const std::wstring& text) {
  const std::string_view name = NameOf(edit);
  for (std::size_t i = 0; i < 3; ++i) {
    if (name == kBoxNames[i]) {
      return form_.GuardPaste(static_cast<Box>(i), ToUtf8(text));
    }
  }
  return true;
}

std::string Form1Window::Text(Box box) const {
  if (box == Box::kText4) return output_text_;
  return ToUtf8(WindowText(BoxWindow(box)));
}

void Form1Window::SetText(Box box, std::string_view text) {
  HWND edit = BoxWindow(box);
  std::wstring shown;
  if (box == Box::kText4) {
    // The output box shows the text broken at CR LF pairs alone. A lone LF
    // is handed over as nothing at all, because edit controls differ on it
    // between Windows versions (some break a line there).
    output_text_ = text;
    shown = ToUtf16(DisplayForm(text, "\r\n"));
  } else {
    shown = ToUtf16(text);
  }
  // Form1 runs the guard of the boxes it writes itself.
  writing_ = true;
  SetWindowTextW(edit, shown.c_str());
  writing_ = false;
  // Show the start of the text, where a number says most.
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void Form1Window::ReplaceByEdit(Box box, std::string_view before,
                                std::string_view text) {
  HWND edit = BoxWindow(box);
  const std::wstring from = ToUtf16(before);
  const std::wstring to = ToUtf16(text);
  // The control's undo is single-level: a new text forgets it, and a
  // replacement of the selection is what EM_UNDO puts back.
  const bool writing = std::exchange(writing_, true);
  SetWindowTextW(edit, from.c_str());
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(to.c_str()));
  writing_ = writing;
}

bool Form1Window::HasFocus(Box box) const {
  return GetFocus() == BoxWindow(box);
}

void Form1Window::SelectAll(Box box) {
  SendMessageW(BoxWindow(box), EM_SETSEL, 0, -1);
}

void Form1Window::AbandonComposition(Box box) {
  const bool abandoned = std::exchange(composition_abandoned_, true);
  CancelComposition(BoxWindow(box));
  composition_abandoned_ = abandoned;
}

void Form1Window::ShowContactNote() {
  ShowWindow(Control("Label4"), SW_SHOWNA);
}

void Form1Window::SetBusy(bool busy) {
  if (busy) {
    cursor_before_busy_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  } else {
    SetCursor(cursor_before_busy_);
  }
}

void Form1Window::ShowErrorReport(int number) {
  ShowReport(hwnd_, ToUtf16(kErrorReportTitle),
             ToUtf16(ErrorReportText(number)), ToUtf16(kErrorReportButton));
}

namespace {

// Whether `message` is a key-down of Enter that the keyboard repeats while
// the key is held: bit 30 of lParam says it was down already.
bool IsRepeatedEnter(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
         (message.lParam & (LPARAM{1} << 30)) != 0;
}

void Deliver(HWND window, MSG& message) {
  // IsDialogMessage makes every Enter key-down an IDOK, repeats too, and so
  // a held Enter would press the focused button again and again. It presses
  // once, as Space does; Enter does nothing else in the window.
  if (IsRepeatedEnter(message) && IsChild(window, message.hwnd)) return;
  if (IsWindow(window) && IsDialogMessageW(window, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(HWND window) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(window, message);
  return static_cast<int>(message.wParam);
}

void DeliverPendingMessages(HWND window) {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    Deliver(window, message);
  }
}

}  // namespace zorvik::win32
