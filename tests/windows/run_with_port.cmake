# Runs PROGRAM (a list: the emulator, then the program) with the port read from PORT_FILE as its one argument,
# and fails when the program fails.
file(READ ${PORT_FILE} port)
string(STRIP "${port}" port)
execute_process(COMMAND ${PROGRAM} ${port} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ${port} gave ${result}")
endif()
