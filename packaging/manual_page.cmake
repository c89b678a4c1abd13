# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a program's manual page from its own texts, so that the page cannot
# say other than the program: the overview (--help), each command's help
# (`help COMMAND`, for the commands the overview lists, with WITH_COMMANDS)
# and the version and licence (--version). SECTIONS names a file of further
# roff sections.
#   cmake -DPROGRAM=bin/kerfwright-cli -DNAME=kerfwright-cli -DSUMMARY="..."
#         [-DWITH_COMMANDS=ON] [-DSECTIONS=file] -DOUTPUT=kerfwright-cli.1 -P manual_page.cmake

# The program's output as roff text, line for line: backslashes and dashes
# escaped, a line that begins with a control character made plain text.
function(roff_text text result)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

function(program_output result)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} ${ARGN}
                  OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} ended with ${status}")
  endif()
  string(REPLACE "${PROGRAM}" "${NAME}" output "${output}") # Qt's usage line names argv[0]
  set(${result} "${output}" PARENT_SCOPE)
endfunction()

function(preformatted text result)
  roff_text("${text}" text)
  set(${result} ".nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name "${NAME}")
# Chinese text has no spaces to stretch: left-aligned, no hyphenation.
set(page ".TH ${title} 1 \"\" \"Kerfwright\" \"User Commands\"\n.ad l\n.nh\n")
string(APPEND page ".SH NAME\n${name} \\- ${SUMMARY}\n")

program_output(overview --help)
preformatted("${overview}" text)
string(APPEND page ".SH DESCRIPTION\n${text}")

# With WITH_COMMANDS, the commands: the overview's lines "  WORD  what it does".
set(lines "")
if(WITH_COMMANDS)
  string(REGEX MATCHALL "\n  [a-z]+ +[^\n]*" lines "${overview}")
endif()
set(commands "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\n  ([a-z]+) .*" "\\1" command "${line}")
  list(APPEND commands ${command})
endforeach()
if(commands)
  string(APPEND page ".SH COMMANDS\n")
  foreach(command IN LISTS commands)
    program_output(help help ${command})
    preformatted("${help}" text)
    string(APPEND page ".SS ${command}\n${text}")
  endforeach()
endif()

if(SECTIONS)
  file(READ "${SECTIONS}" sections)
  string(APPEND page "${sections}")
endif()

program_output(version --version)
preformatted("${version}" text)
string(APPEND page ".SH COPYRIGHT\n${text}")
file(WRITE "${OUTPUT}" "${page}")
