# Fails when BINARY imports a library that is not one of the system's known
# libraries: the loader looks for any other in the binary's own folder first,
# where a planted copy would run in the program.
# Usage: cmake -DOBJDUMP=<objdump> -DBINARY=<exe or dll> -P known_imports.cmake
cmake_minimum_required(VERSION 3.25)

# Known to the loader on every Windows from 7 on.
set(known advapi32 clbcatq comdlg32 gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi
    ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi user32 wldap32 ws2_32)

execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read the imports of ${BINARY}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(foreign "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: ([^ \t\r]+).*" "\\1" name "${line}")
  string(TOLOWER "${name}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST known)
    list(APPEND foreign ${name})
  endif()
endforeach()
if(NOT lines)
  message(FATAL_ERROR "no imports found in ${BINARY}")
endif()
if(foreign)
  message(FATAL_ERROR "${BINARY} imports ${foreign}: bind them at run time from the system folder")
endif()
