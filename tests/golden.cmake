# Runs a program and compares its standard output with an expected file line
# by line, carriage returns ignored (Windows writes CR LF).
#   cmake -DCOMMAND="a;b;c" -DEXPECTED=file -P golden.cmake
execute_process(COMMAND ${COMMAND} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit code ${rc}\n${err}")
endif()
file(READ ${EXPECTED} want)
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" want "${want}")
if(NOT out STREQUAL want)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/golden-actual.txt "${out}")
  message(FATAL_ERROR "output differs from ${EXPECTED}; actual output in ${CMAKE_CURRENT_BINARY_DIR}/golden-actual.txt\n${out}")
endif()
