# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the bash completion of kerfwright-cli from the program's own help,
# so that it completes exactly the commands and options the program has:
# the commands of --help, each command's options of `help COMMAND`, and for
# an option's value what its value name says (SIZE the wafer sizes the help
# lists, SHAPE the shapes, a file name with an extension such files, FILE
# files of the option's own kind for --png, --svg, --csv and --pdf, DIR
# folders).
#   cmake -DPROGRAM=bin/kerfwright-cli -DOUTPUT=kerfwright-cli -P bash_completion.cmake
cmake_policy(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/program_output.cmake)

# What completes the value of an option of value name `type`.
function(value_kind option type result)
  string(REGEX REPLACE "^--" "" name "${option}")
  if(type STREQUAL "SIZE")
    set(kind wafer)
  elseif(type MATCHES "^SHAPE")
    set(kind shape)
  elseif(type MATCHES "^DIR")
    set(kind "dir")
  elseif(type MATCHES "^[A-Z]+\\.([A-Za-z0-9]+)$")
    set(kind "file:${CMAKE_MATCH_1}")
  elseif(type STREQUAL "FILE" AND name MATCHES "^(png|svg|csv|pdf)$")
    set(kind "file:${name}")
  elseif(type STREQUAL "FILE")
    set(kind "file:")
  else()
    set(kind "")
  endif()
  set(${result} "${kind}" PARENT_SCOPE)
endfunction()

program_output(overview --help)
set(commands "")
set(sizes "")
foreach(line IN LISTS overview)
  if(line MATCHES "^  ([a-z]+) ")
    list(APPEND commands ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT commands)
  message(FATAL_ERROR "the overview of ${PROGRAM} lists no commands")
endif()

set(shapes "")
set(option_cases "")
set(value_cases "")
set(argument_cases "")
foreach(command IN LISTS commands)
  program_output(help help ${command})
  set(options "")
  foreach(line IN LISTS help)
    if(line MATCHES "^  (-[^ ]+)( ([^ ]+))?")
      set(names "${CMAKE_MATCH_1}")
      set(type "${CMAKE_MATCH_3}")
      string(REPLACE "," ";" names "${names}")
      list(APPEND options ${names})
      value_kind("${names}" "${type}" kind)
      if(NOT kind STREQUAL "")
        foreach(name IN LISTS names)
          string(APPEND value_cases "        '${command} ${name}') echo '${kind}' ;;\n")
        endforeach()
      endif()
    elseif(line MATCHES "^  ([A-Z]+\\.[A-Za-z0-9]+) ")
      value_kind("" "${CMAKE_MATCH_1}" kind)
      string(APPEND argument_cases "        ${command}) echo '${kind}' ;;\n")
    endif()
    if(line MATCHES "^  --shape [^ ]+ +(.*)$")
      string(REGEX MATCHALL "[A-Z][a-z]+" found "${CMAKE_MATCH_1}")
      list(APPEND shapes ${found})
    endif()
    if(line MATCHES "^  --wafer ")
      string(REGEX MATCHALL "[0-9]\\.[0-9] Inches" found "${line}")
      list(APPEND sizes ${found})
    endif()
  endforeach()
  list(JOIN options " " options)
  string(APPEND option_cases "        ${command}) echo '${options}' ;;\n")
endforeach()
if(NOT sizes OR NOT shapes)
  message(FATAL_ERROR "no command of ${PROGRAM} lists the wafer sizes or the shapes")
endif()
list(REMOVE_DUPLICATES sizes)
list(REMOVE_DUPLICATES shapes)
list(JOIN shapes " " shape_words)
list(JOIN commands " " command_words)
list(JOIN sizes "\n" size_words)

file(WRITE "${OUTPUT}" "# bash completion for kerfwright-cli -*- shell-script -*-
# Written from the program's own help when it was built.

_kerfwright_cli_options()
{
    case $1 in
${option_cases}    esac
}

# What the value of option $2 of command $1 is.
_kerfwright_cli_value()
{
    case \"$1 $2\" in
${value_cases}    esac
}

# What the command's argument is.
_kerfwright_cli_argument()
{
    case $1 in
${argument_cases}    esac
}

_kerfwright_cli_complete_kind()
{
    local cur=$1
    case $2 in
        wafer)
            local IFS=$'\\n'
            COMPREPLY=($(compgen -W $'${size_words}' -- \"$cur\"))
            COMPREPLY=(\"\${COMPREPLY[@]// /\\\\ }\")
            ;;
        shape) COMPREPLY=($(compgen -W '${shape_words}' -- \"$cur\")) ;;
        dir) _filedir -d ;;
        file:) _filedir ;;
        file:*)
            local extension=\${2#file:}
            _filedir \"@(\${extension,,}|\${extension^^})\"
            ;;
        *) return 1 ;;
    esac
}

_kerfwright_cli()
{
    local cur prev words cword
    _init_completion || return

    local commands='${command_words}'
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W \"$commands help --help --version\" -- \"$cur\"))
        return
    fi
    local command=\${words[1]}
    if [[ $command == help ]]; then
        ((cword == 2)) && COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))
        return
    fi
    local kind
    kind=$(_kerfwright_cli_value \"$command\" \"$prev\")
    if [[ -n $kind ]]; then
        _kerfwright_cli_complete_kind \"$cur\" \"$kind\"
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W \"$(_kerfwright_cli_options \"$command\")\" -- \"$cur\"))
        return
    fi
    kind=$(_kerfwright_cli_argument \"$command\")
    [[ -n $kind ]] && _kerfwright_cli_complete_kind \"$cur\" \"$kind\"
} &&
    complete -F _kerfwright_cli kerfwright-cli
")
