cmake_policy(SET CMP0057 NEW)
# Checks zorvik.exe as Windows will load it (cmake -P, run on the build
# machine): nothing placed beside it can be loaded as one of its imports;
# ASLR with high-entropy addresses and DEP are on; it is a GUI program; and it
# stays small.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers
                COMMAND_ERROR_IS_FATAL ANY)

# Windows loads the imports of a program before its first line runs, and
# looks for each in the program's own folder first (usually a Downloads
# folder, which holds whatever anyone sent), unless it is one of the
# KnownDLLs, which always come from the system folder. These are the KnownDLLs
# that every supported Windows (7 SP1 to 11, 64-bit) lists under
# HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\KnownDLLs.
set(known_dlls advapi32 clbcatq comdlg32 gdi32 imagehlp imm32 kernel32 msctf
    msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32
    shlwapi user32 wldap32 ws2_32)
# comctl32 is not one of them, but the manifest binds it to the system's
# side-by-side Common Controls 6, which is never looked for beside the .exe.
set(allowed_dlls ${known_dlls} comctl32)

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST allowed_dlls)
    message(FATAL_ERROR "zorvik.exe imports ${dll}, which is not one of the "
      "KnownDLLs: Windows would look for it beside zorvik.exe first. Load it "
      "at run time from the system folder instead (see win32/compat.h).")
  endif()
  list(APPEND seen ${dll})
endforeach()
if(NOT "KERNEL32.dll" IN_LIST seen OR NOT "USER32.dll" IN_LIST seen)
  message(FATAL_ERROR "no import table read from ${EXE}")
endif()

foreach(flag HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT)
  if(NOT headers MATCHES "\n[ \t]+${flag}\n")
    message(FATAL_ERROR "zorvik.exe lacks ${flag}")
  endif()
endforeach()
if(NOT headers MATCHES "Subsystem[ \t]+00000002")
  message(FATAL_ERROR "zorvik.exe is not a GUI program")
endif()

# Most of it is the statically linked C++ runtime.
file(SIZE ${EXE} size)
math(EXPR limit "600 * 1024")
if(size GREATER limit)
  message(FATAL_ERROR "zorvik.exe is ${size} bytes, over 600 KiB")
endif()
list(JOIN seen ", " dlls)
message(STATUS "zorvik.exe: ${size} bytes; imports ${dlls}")
