#ifndef ZORVIK_WIN32_FORM1_WINDOW_H_
#define ZORVIK_WIN32_FORM1_WINDOW_H_

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "win32/input_paste.h"
#include "window/form1.h"
#include "window/form_layout.h"

namespace zorvik::win32 {

// Form1 on the plain Win32 API: the controls made from the layout table
// (labels as STATIC, boxes as EDIT, buttons as BUTTON), EN_CHANGE delivered
// to the box's guard and BN_CLICKED to the click handlers, the error report
// as a task dialog. Nothing of the behaviour lives here.
class Form1Window : private FormControls {
 public:
  enum class OnClose {
    kQuit,  // closing the window ends the message loop: the program's window
    kStay,  // a window among others, as in tests
  };

  // Creates the window, hidden, with its controls in their initial state,
  // and runs the load handler. The window is sized and laid out for the DPI
  // of the monitor it is placed on, and lies whole in its work area. Returns
  // null when Windows refuses a window.
  static std::unique_ptr<Form1Window> Create(HINSTANCE instance,
                                             OnClose on_close);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Shows the window with the focus in the first box of the tab order, its
  // 0 selected. Whenever the window is activated or restored later, the
  // focus returns to the control that had it last.
  void Show(int show_command);

  HWND hwnd() const { return hwnd_; }
  Form1& form() { return form_; }
  // What the program last wrote into the output box, whatever it shows.
  const std::string& output_text() const { return output_text_; }
  // The control with the layout table's `name`, or null.
  HWND Control(std::string_view name) const;
  // The table's name of `control`, or "" for a window that is none of them.
  std::string_view NameOf(HWND control) const;

 private:
  Form1Window(HINSTANCE instance, OnClose on_close);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int code);
  // Enter: presses the button with the focus, if a button has it.
  void PressFocusedButton();
  void CreateControls();
  // Names the boxes for screen readers: each input box after its label, the
  // controls with a name of their own by it.
  void NameControls();
  // Lays the window out for the DPI of its monitor and the message font,
  // and sizes it to that, inside its work area.
  void FitToMonitor();
  // Places every control for `dpi` and gives it the message font at `dpi`;
  // positions and sizes grow by that font's scale, kept in font_scale_.
  void Layout(UINT dpi);
  // Gives the focus back to the control that had it, once the window is
  // shown and not minimised (before that no control can take it).
  void RestoreFocus();

  // FormControls:
  std::string Text(Box box) const override;
  void SetText(Box box, std::string_view text) override;
  void ReplaceByEdit(Box box, std::string_view before,
                     std::string_view text) override;
  bool HasFocus(Box box) const override;
  void SelectAll(Box box) override;
  void AbandonComposition(Box box) override;
  void ShowContactNote() override;
  void SetBusy(bool busy) override;
  void ShowErrorReport(int number) override;

  HWND BoxWindow(Box box) const;
  // Tells Form1 of the input method's compositions in an input box (`data`
  // is the window): the edit control shows one in its text until it ends,
  // reporting each step as a change of its text.
  static LRESULT CALLBACK WatchComposition(HWND edit, UINT message,
                                           WPARAM wparam, LPARAM lparam,
                                           UINT_PTR id, DWORD_PTR data);
  // A paste into an input box, judged by the box's guard before the box
  // takes it.
  bool JudgePaste(HWND edit, const std::wstring& text);

  HINSTANCE instance_;
  OnClose on_close_;
  HWND hwnd_ = nullptr;
  std::array<HWND, kForm1Controls.size()> controls_{};  // by table row
  HFONT font_ = nullptr;
  double font_scale_ = 1.0;  // of font_, see MessageFontScale
  HBRUSH output_background_ = nullptr;
  HWND last_focus_ = nullptr;  // the control that last had the focus
  bool com_initialized_ = false;
  HCURSOR cursor_before_busy_ = nullptr;
  bool writing_ = false;     // inside SetText: the EN_CHANGE is the program's
  std::string output_text_;  // Text4 exactly as written
  // The composition under way committed something (GCS_RESULTSTR).
  bool composition_committed_ = false;
  // A composition that ends now ends because the focus is leaving, or
  // because Form1 dropped it and ends it itself.
  bool composition_leaving_ = false;
  bool composition_abandoned_ = false;
  PasteJudge paste_judge_ = [this](HWND edit, const std::wstring& text) {
    return JudgePaste(edit, text);
  };
  Form1 form_{*this};
};

// Delivers the thread's messages until the window posts its quit message;
// Tab and Shift+Tab move the focus through IsDialogMessage. Returns the exit
// code.
int RunMessageLoop(HWND window);

// Delivers the messages already waiting, the same way, and returns.
void DeliverPendingMessages(HWND window);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_FORM1_WINDOW_H_
