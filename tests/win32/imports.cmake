# Fails when a program imports a DLL the loader would look for beside it:
# only Known DLLs (Windows 10 and 11, and ntdll) may be imported, and
# COMCTL32 where the program's manifest sends it to Common Controls 6.
#   cmake -DOBJDUMP=... -DPROGRAMS=a.exe;b.exe -P imports.cmake
cmake_minimum_required(VERSION 3.20)
set(known advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
    normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32 ntdll)
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
  file(STRINGS ${program} controls6 REGEX "Microsoft\\.Windows\\.Common-Controls\" version=\"6\\.")
  message(STATUS "${program}: ${names}")
  foreach(name IN LISTS names)
    string(REGEX REPLACE "DLL Name: (.*)\\.[dD][lL][lL]" "\\1" dll "${name}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST known AND NOT (dll STREQUAL "comctl32" AND controls6))
      message(SEND_ERROR "${program} imports ${dll}.dll, which the loader looks for beside the program")
    endif()
  endforeach()
endforeach()
