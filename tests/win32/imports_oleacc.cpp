// A program that imports oleacc.dll as zorvik.exe once did: the control of
// planted_dll_test.cpp, which shows that the test bench loads an oleacc.dll
// found beside such a program.

#include <oleacc.h>
#include <windows.h>

int main() {
  // Named, so that it is imported; never called.
  volatile auto imported = &CreateStdAccessibleObject;
  return imported != nullptr ? 0 : 1;
}
