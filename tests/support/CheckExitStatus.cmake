# cmake -DEMULATOR=a|b -DPROGRAM=p -DARGUMENT=x -DEXPECTED=n|crash -P CheckExitStatus.cmake
# Runs PROGRAM ARGUMENT under the emulator and checks how it ended: with status EXPECTED, or
# for "crash" with a failure status, soon, rather than with 0 or in a debugger that waits.
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${PROGRAM} ${ARGUMENT} RESULT_VARIABLE status TIMEOUT 60
                OUTPUT_QUIET ERROR_QUIET)
if(EXPECTED STREQUAL "crash")
  if(NOT status MATCHES "^[0-9]+$" OR status EQUAL 0)
    message(FATAL_ERROR "a crashing program ended with \"${status}\", not with a failure status")
  endif()
elseif(NOT status STREQUAL EXPECTED)
  message(FATAL_ERROR "the program ended with \"${status}\" instead of ${EXPECTED}")
endif()
