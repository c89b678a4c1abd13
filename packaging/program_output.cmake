# SPDX-License-Identifier: GPL-3.0-or-later
# What PROGRAM prints for ARGN, as a CMake list of its lines (semicolons kept
# as text); the program's path is said as NAME where NAME is given (Qt's
# usage line names argv[0]). A program that fails stops the script.
function(program_output result)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} ${ARGN}
                  OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} ended with ${status}")
  endif()
  if(DEFINED NAME)
    string(REPLACE "${PROGRAM}" "${NAME}" output "${output}")
  endif()
  string(REPLACE ";" "\\;" output "${output}")
  string(REPLACE "\n" ";" output "${output}")
  set(${result} "${output}" PARENT_SCOPE)
endfunction()
