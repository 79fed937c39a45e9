# cmake -DHELP2MAN=... -DPROGRAM=... -DNAME=... -DSUMMARY=... -DOUTPUT=... -P ManPage.cmake
# Writes NAME.1 with help2man from the program's --help and --version. A program
# with subcommands gets a COMMANDS section holding each command's own help (two
# levels deep), so the page always matches the program.

cmake_policy(VERSION 3.25)

function(subcommands_of out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  set(names)
  if(rc EQUAL 0)
    string(REGEX MATCH "\nSubcommands:\n(.*)" tail "${help}")
    string(REPLACE "\n" ";" lines "${CMAKE_MATCH_1}")
    foreach(line IN LISTS lines)
      if(line MATCHES "^  ([a-z][a-z0-9-]*)( |$)")
        if(NOT CMAKE_MATCH_1 STREQUAL "help")
          list(APPEND names ${CMAKE_MATCH_1})
        endif()
      elseif(NOT line MATCHES "^ ")
        break()
      endif()
    endforeach()
  endif()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# One command's help as a roff subsection, printed as it stands.
function(append_command_help text_var)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE help)
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(JOIN " " title ${NAME} ${ARGN})
  set(${text_var} "${${text_var}}.SS ${title}\n.nf\n${help}.fi\n" PARENT_SCOPE)
endfunction()

set(include_file ${OUTPUT}.h2m)
set(text "")
subcommands_of(top)
if(top)
  set(text "[COMMANDS]\nEach command answers \\fB--help\\fR as shown here.\n")
  foreach(cmd IN LISTS top)
    append_command_help(text ${cmd})
    subcommands_of(inner ${cmd})
    foreach(sub IN LISTS inner)
      append_command_help(text ${cmd} ${sub})
    endforeach()
  endforeach()
endif()
string(APPEND text "[ENVIRONMENT]\n"
  ".TP\n\\fBXDG_DATA_HOME\\fR\nThe library and other data live in \\fI$XDG_DATA_HOME/quavero\\fR "
  "(default \\fI~/.local/share/quavero\\fR).\n"
  ".TP\n\\fBXDG_CONFIG_HOME\\fR\nThe user's settings live in \\fI$XDG_CONFIG_HOME/quavero\\fR "
  "(default \\fI~/.config/quavero\\fR); the machine-wide settings in \\fI/etc/quavero\\fR.\n"
  ".TP\n\\fBQUAVERO_DATA_DIR\\fR, \\fBQUAVERO_CONFIG_DIR\\fR\n"
  "Use these folders instead, for the data and for every settings file.\n")
file(WRITE ${include_file} "${text}")

execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 --name=${SUMMARY} --include=${include_file}
          --output=${OUTPUT} ${PROGRAM}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${PROGRAM}")
endif()
