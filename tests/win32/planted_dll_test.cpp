// zorvik.exe started from a folder that also holds an oleacc.dll, as a
// Downloads folder may. Windows looks beside a program first for every DLL
// that is not one of its KnownDLLs; Wine does so for a DLL it is told to
// prefer in its native form. Run with WINEDLLOVERRIDES=oleacc=n,b, the
// PlantedDllTest cases start zorvik.exe there: it must open its window and
// work without ever loading that DLL, which leaves a mark when it is loaded
// (planted_oleacc.cpp). A program that imports oleacc, started from the same
// folder, shows that the bench does load such a DLL. Run with
// WINEDLLOVERRIDES=oleacc= (no oleacc at all), the NoOleaccTest case starts
// it where oleacc cannot be loaded: it must work all the same.
//
// This program starts the others under Wine, in a folder beside itself, and
// so takes its own oleacc at run time too. The build's paths it is given are
// Unix paths: Wine reads them on the drive of the working directory, which
// maps the root of the file system.

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/win32/com_apartment.h"
#include "win32/utf16.h"
#include "window/form_layout.h"

namespace zorvik::win32 {
namespace {

constexpr wchar_t kPlantedDll[] = L"oleacc.dll";
constexpr wchar_t kMark[] = L"oleacc.dll.loaded";  // planted_oleacc.cpp's

// Generous for a loaded machine: a start under Wine takes about a second.
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 20000;

std::wstring FolderOfThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/"));
}

// The whole text of another process's control: GetWindowText reads only
// what the system keeps of it, not what an edit control holds.
std::wstring ControlText(HWND control) {
  const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(control, WM_GETTEXT, text.size(),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

// oleacc from the system folder; null where there is none.
HMODULE SystemOleacc() {
  return LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The name a screen reader reads for `control`; "" where it reads none.
std::string ReadName(HMODULE oleacc, HWND control) {
  const auto from_window =
      reinterpret_cast<decltype(&AccessibleObjectFromWindow)>(
          reinterpret_cast<void (*)()>(
              GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
  IAccessible* object = nullptr;
  if (from_window == nullptr ||
      FAILED(from_window(control, OBJID_CLIENT, __uuidof(IAccessible),
                         reinterpret_cast<void**>(&object)))) {
    return "";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string read;
  if (object->get_accName(self, &name) == S_OK && name != nullptr) {
    read = ToUtf8(std::wstring_view(name, SysStringLen(name)));
  }
  SysFreeString(name);
  object->Release();
  return read;
}

// The names of the window's boxes (its edit controls), sorted; none where
// this program has no oleacc to read them with.
std::vector<std::string> BoxNames(HWND window) {
  std::vector<std::string> names;
  HMODULE oleacc = SystemOleacc();
  if (oleacc == nullptr) return names;
  const ComApartment com;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (lstrcmpiW(class_name, L"Edit") == 0) {
      names.push_back(ReadName(oleacc, child));
    }
  }
  FreeLibrary(oleacc);
  std::sort(names.begin(), names.end());
  return names;
}

// The names Zorvik gives its boxes, sorted: each input box its label's
// caption, the output box a name of its own.
std::vector<std::string> ExpectedBoxNames() {
  std::vector<std::string> names;
  for (const LabelFor& pair : kLabelBuddies) {
    names.emplace_back(kForm1Controls[RowOf(pair.label)].caption);
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    const ControlKind kind = kForm1Controls[RowOf(entry.control)].kind;
    if (kind == ControlKind::kInputBox || kind == ControlKind::kOutputBox) {
      names.emplace_back(entry.name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A program started in the test's folder; ended when it is dropped, if it
// has not ended by then.
class Started {
 public:
  explicit Started(const PROCESS_INFORMATION& info) : info_(info) {}
  ~Started() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, kExitTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  // Its exit code once it has ended; nullopt if it runs on past the timeout.
  std::optional<DWORD> Wait(DWORD timeout_ms) const {
    DWORD code = 0;
    if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(info_.hProcess, &code)) {
      return std::nullopt;
    }
    return code;
  }

  // Its visible top-level window with Zorvik's caption, once there is one;
  // null if there is none within the timeout or the program has ended.
  HWND WaitForWindow() const {
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (GetTickCount64() < deadline) {
      if (HWND window = Window(); window != nullptr) return window;
      if (Wait(50).has_value()) return nullptr;
    }
    return nullptr;
  }

  // The control of its window thread that has the focus, once one has;
  // null if none has within the timeout.
  HWND WaitForFocus() const {
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (GetTickCount64() < deadline) {
      GUITHREADINFO gui{};
      gui.cbSize = sizeof gui;
      if (GetGUIThreadInfo(info_.dwThreadId, &gui) &&
          gui.hwndFocus != nullptr) {
        return gui.hwndFocus;
      }
      if (Wait(50).has_value()) return nullptr;
    }
    return nullptr;
  }

 private:
  HWND Window() const {
    const std::wstring caption = ToUtf16(kWindowCaption);
    for (HWND window =
             FindWindowExW(nullptr, nullptr, nullptr, caption.c_str());
         window != nullptr;
         window = FindWindowExW(nullptr, window, nullptr, caption.c_str())) {
      DWORD process_id = 0;
      GetWindowThreadProcessId(window, &process_id);
      if (process_id == info_.dwProcessId && IsWindowVisible(window)) {
        return window;
      }
    }
    return nullptr;
  }

  PROCESS_INFORMATION info_;
};

class PlantedDllTest : public testing::Test {
 protected:
  // A fresh folder holding zorvik.exe, the planted oleacc.dll and the
  // control program, and no mark.
  void SetUp() override {
    CreateDirectoryW(folder_.c_str(), nullptr);
    DeleteFileW(In(kMark).c_str());
    for (const auto& [from, name] :
         {std::pair{ZORVIK_EXE, L"zorvik.exe"},
          std::pair{ZORVIK_PLANTED_DLL, kPlantedDll},
          std::pair{ZORVIK_IMPORTS_OLEACC, L"imports_oleacc.exe"}}) {
      ASSERT_TRUE(CopyFileW(ToUtf16(from).c_str(), In(name).c_str(), FALSE))
          << from << ": " << GetLastError();
    }
  }

  std::wstring In(std::wstring_view name) const {
    return folder_ + L"\\" + std::wstring(name);
  }

  // Starts `name` from the folder, in it, as Explorer starts a program
  // opened there.
  std::optional<PROCESS_INFORMATION> Start(std::wstring_view name) const {
    const std::wstring program = In(name);
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, folder_.c_str(), &startup, &info)) {
      return std::nullopt;
    }
    return info;
  }

  // The program that loaded the planted DLL, as its mark names it; nullopt
  // when none did.
  std::optional<std::string> MarkedBy() const {
    HANDLE mark = CreateFileW(In(kMark).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return std::nullopt;
    wchar_t program[MAX_PATH] = {};
    DWORD read = 0;
    ReadFile(mark, program, sizeof program - sizeof(wchar_t), &read, nullptr);
    CloseHandle(mark);
    return ToUtf8(std::wstring_view(program, read / sizeof(wchar_t)));
  }

  // Starts zorvik.exe: its window opens, the box that has the focus takes a
  // digit and is reset to 0 by a letter, as anywhere, and it ends with 0
  // when the window is closed. Returns the names of its boxes as a screen
  // reader reads them (none when it did not open).
  std::vector<std::string> RunZorvik() const {
    const auto info = Start(L"zorvik.exe");
    if (!info.has_value()) {
      ADD_FAILURE() << "zorvik.exe did not start: " << GetLastError();
      return {};
    }
    const Started zorvik(*info);
    HWND window = zorvik.WaitForWindow();
    if (window == nullptr) {
      ADD_FAILURE() << "zorvik.exe opened no window; it ended with "
                    << zorvik.Wait(0).value_or(STILL_ACTIVE);
      return {};
    }
    HWND box = zorvik.WaitForFocus();
    EXPECT_NE(box, nullptr) << "no box has the focus";
    if (box != nullptr) {
      SendMessageW(box, WM_CHAR, L'7', 0);  // over the selected 0
      EXPECT_EQ(ControlText(box), L"7");
      SendMessageW(box, WM_CHAR, L'a', 0);
      EXPECT_EQ(ControlText(box), L"0");
    }
    std::vector<std::string> names = BoxNames(window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(zorvik.Wait(kExitTimeoutMs), std::optional<DWORD>(0));
    return names;
  }

 private:
  std::wstring folder_ = FolderOfThisProgram() + L"\\downloads";
};

// Without this, the test below would pass on a bench that never loads a DLL
// from a program's folder.
TEST_F(PlantedDllTest, ABenchProgramImportingOleaccLoadsThePlantedOne) {
  const auto info = Start(L"imports_oleacc.exe");
  ASSERT_TRUE(info.has_value()) << GetLastError();
  const Started control(*info);
  EXPECT_EQ(control.Wait(kExitTimeoutMs), std::optional<DWORD>(0));
  const std::optional<std::string> marked_by = MarkedBy();
  ASSERT_TRUE(marked_by.has_value()) << "run with WINEDLLOVERRIDES=oleacc=n,b";
  EXPECT_NE(marked_by->find("imports_oleacc.exe"), std::string::npos)
      << *marked_by;
}

TEST_F(PlantedDllTest, ZorvikOpensWithoutLoadingThePlantedOne) {
  // Its own oleacc, from the system folder, still names the boxes.
  EXPECT_EQ(RunZorvik(), ExpectedBoxNames());
  EXPECT_EQ(MarkedBy(), std::nullopt) << "the planted oleacc.dll was loaded";
}

using NoOleaccTest = PlantedDllTest;

// The boxes then keep the standard accessible objects, without their names.
TEST_F(NoOleaccTest, ZorvikOpensAndWorksAllTheSame) {
  ASSERT_EQ(SystemOleacc(), nullptr) << "run with WINEDLLOVERRIDES=oleacc=";
  RunZorvik();
  EXPECT_EQ(MarkedBy(), std::nullopt);
}

}  // namespace
}  // namespace zorvik::win32
