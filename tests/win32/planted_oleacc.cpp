// A stand-in for oleacc.dll as someone might leave it in a Downloads folder:
// it exports the two functions Zorvik takes from oleacc, and marks that it
// was loaded by writing, beside itself, a file that names the program which
// loaded it, oleacc.dll.loaded (planted_dll_test.cpp looks for it).

#include <windows.h>

#include <string>

namespace {

std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length =
      GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return path;
}

void LeaveMark(HMODULE self) {
  // The loader names the DLL as it was asked for (OLEACC.dll, say), so the
  // mark's name is fixed.
  std::wstring mark_path = ModulePath(self);
  mark_path.resize(mark_path.find_last_of(L"\\/") + 1);
  mark_path += L"oleacc.dll.loaded";
  const std::wstring program = ModulePath(nullptr);
  HANDLE mark = CreateFileW(mark_path.c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mark == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(mark, program.data(),
            static_cast<DWORD>(program.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(mark);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void* /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMark(self);
  return TRUE;
}

// The program that loaded it goes on as with the real one, without names.
__declspec(dllexport) HRESULT WINAPI
    CreateStdAccessibleObject(HWND /*window*/, LONG /*object_id*/,
                              REFIID /*iid*/, void** object) {
  if (object != nullptr) *object = nullptr;
  return E_NOTIMPL;
}

__declspec(dllexport) LRESULT WINAPI
    LresultFromObject(REFIID /*iid*/, WPARAM /*wparam*/, IUnknown* /*object*/) {
  return E_NOTIMPL;
}

}  // extern "C"
