# Names in any language, through tarnwell-cli.exe under Wine: a machine file
# read from a folder named in Chinese and Greek lists its Greek label, and the
# folder is substituted, shown back by the drive's query, and the
# substitution removed again. (Saving needs the system's save dialog,
# which a script answers on the simulated machine only.)
#   cmake -DWINE_RUN=... -DCLI=tarnwell-cli.exe -DWORK=dir -P any_language.cmake
cmake_minimum_required(VERSION 3.20)
set(folder "${WORK}/中文 Ελληνικά")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${folder}")
file(WRITE "${folder}/machine.json" [=[{"drives": {"C": {"type": "DRIVE_FIXED", "volume": {"label": "Ελληνικά"}, "space": {"total": 1000, "free": 500}}}}]=])
# Wine's Z: is the Linux root.
string(REPLACE "/" "\\" windows "Z:${folder}")
# D: comes right after C: in the list, whatever other letters are defined.
file(WRITE "${WORK}/round-trip.script" "activate
set Edit2 D
set Edit1 ${windows}
answer OK
click CreateSubstituteDrive1
select 1
click Query1
select 1
click RemoveSubstituteDrive1
list
")
execute_process(COMMAND ${WINE_RUN} ${CLI} --machine "${windows}\\machine.json" list OUTPUT_VARIABLE listed
                ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT listed MATCHES "\nC: \tΕλληνικά\t")
  message(SEND_ERROR "the machine file named in Chinese and Greek was not read, or its label lost (exit ${rc}):\n${listed}\n${err}")
endif()
execute_process(COMMAND ${WINE_RUN} ${CLI} script "${WORK}/round-trip.script" OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE rc)
message(STATUS "${out}")
if(NOT out MATCHES "\\[plain\\] [^\n]*中文 Ελληνικά")
  message(SEND_ERROR "the substituted folder did not come back by its name (exit ${rc}):\n${out}\n${err}")
endif()
string(REGEX MATCH "\nD: " left "${out}")
if(left)
  message(SEND_ERROR "the substitution D: was not removed")
endif()
