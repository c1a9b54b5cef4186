# Compiles the counter testbench with Icarus Verilog and runs it, so that the VCD tests
# read a dump a real simulator wrote. Run as: cmake -DSOURCE=tb.v -DOUT=dir -P this file.
find_program(IVERILOG iverilog)
find_program(VVP vvp)
if(NOT IVERILOG OR NOT VVP)
  message(FATAL_ERROR "iverilog and vvp are needed (Debian package iverilog; scripts/deps.sh installs it)")
endif()
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${IVERILOG}" -o "${OUT}/counter.vvp" "${SOURCE}" RESULT_VARIABLE compiled)
if(NOT compiled EQUAL 0)
  message(FATAL_ERROR "iverilog could not compile ${SOURCE}")
endif()
# The testbench writes counter.vcd into the folder it runs in.
execute_process(COMMAND "${VVP}" -n counter.vvp WORKING_DIRECTORY "${OUT}" RESULT_VARIABLE simulated)
if(NOT simulated EQUAL 0 OR NOT EXISTS "${OUT}/counter.vcd")
  message(FATAL_ERROR "vvp did not write ${OUT}/counter.vcd")
endif()
