cmake_policy(SET CMP0057 NEW)
# Checks zorvik.exe as Windows will load it (cmake -P, run on the build
# machine): it imports system DLLs only, so nothing placed beside it is loaded
# in their place; ASLR with high-entropy addresses and DEP are on; it is a GUI
# program; and it stays small.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers
                COMMAND_ERROR_IS_FATAL ANY)

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
# OLEACC and COM (ole32, OLEAUT32) answer screen readers.
set(system_dlls KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll msvcrt.dll
    OLEACC.dll ole32.dll OLEAUT32.dll)
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(STRIP "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "zorvik.exe imports ${dll}, which is not a system DLL")
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
