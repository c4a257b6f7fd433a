#include "win32/compat.h"

#include <string>

namespace zorvik::win32 {
namespace {

constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;

// GetProcAddress hands out an untyped function; going through void (*)()
// is the cast GCC accepts between function types.
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  return Lookup<Function>(GetModuleHandleW(module), name);
}

// `name` from the system folder, and what it imports from there too. Windows
// 7 without KB2533623 refuses the search flag; there the DLL is named by its
// full path, and its own imports are looked for beside it first.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) {
    return module;
  }
  std::wstring path(MAX_PATH, L'\0');
  const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  path.resize(length);
  path.append(L"\\").append(name);
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL,
                                                       DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*,
                                                         UINT, UINT);

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

void LoadDllsFromSystemOnly() {
  static const auto set_directories = Lookup<SetDefaultDllDirectoriesFunction>(
      L"kernel32.dll", "SetDefaultDllDirectories");
  if (set_directories != nullptr) {
    set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

UINT DpiForWindow(HWND window) {
  static const auto get_dpi =
      Lookup<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (get_dpi != nullptr) {
    const UINT dpi = get_dpi(window);
    if (dpi != 0) return dpi;
  }
  return SystemDpi();
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, UINT dpi) {
  static const auto adjust = Lookup<AdjustWindowRectExForDpiFunction>(
      L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (adjust == nullptr || !adjust(&rect, style, FALSE, ex_style, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HFONT CreateMessageFont(UINT dpi) {
  static const auto parameters_for_dpi =
      Lookup<SystemParametersInfoForDpiFunction>(L"user32.dll",
                                                 "SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (parameters_for_dpi != nullptr &&
      parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                         dpi)) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  // Before per-monitor scaling the metrics are in the system's DPI.
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics,
                             0)) {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  metrics.lfMessageFont.lfHeight =
      MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
             static_cast<int>(SystemDpi()));
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

const Oleacc* LoadOleacc() {
  // Never freed: the controls' accessible objects may be in use until the
  // process ends.
  static const Oleacc oleacc = [] {
    HMODULE module = LoadSystemLibrary(L"oleacc.dll");
    return Oleacc{Lookup<decltype(Oleacc::create_std_accessible_object)>(
                      module, "CreateStdAccessibleObject"),
                  Lookup<decltype(Oleacc::lresult_from_object)>(
                      module, "LresultFromObject")};
  }();
  if (oleacc.create_std_accessible_object == nullptr ||
      oleacc.lresult_from_object == nullptr) {
    return nullptr;
  }
  return &oleacc;
}

}  // namespace zorvik::win32
