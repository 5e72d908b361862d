# Writes a manual page for corvel3-cli from its own help: the tool's help, then each command's.
#   cmake -DPROGRAM=<corvel3-cli> -DLANG=en|it -DDATE=<"December 2026"> -DVERSION=<2.1>
#         -DOUTPUT=<file.1> -P manpage.cmake
# The help names the operation log under the home folder: HOME is "~" so the page shows the
# path every user reads it as.
foreach(_v PROGRAM LANG DATE VERSION OUTPUT)
  if(NOT DEFINED ${_v})
    message(FATAL_ERROR "manpage.cmake: ${_v} not given")
  endif()
endforeach()

get_filename_component(_work ${OUTPUT} DIRECTORY)
function(help_of out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=~ --unset=XDG_DATA_HOME LC_ALL=C.UTF-8
                          ${PROGRAM} --lang ${LANG} ${ARGN} --help
                  WORKING_DIRECTORY ${_work} OUTPUT_VARIABLE _text RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0 OR _text STREQUAL "")
    message(FATAL_ERROR "manpage.cmake: '${PROGRAM} ${ARGN} --help' failed (${_rc})")
  endif()
  set(${out} "${_text}" PARENT_SCOPE)
endfunction()

# Help text to roff: indented lines (tables, command lists) keep their layout, the prose is filled,
# a blank line starts a paragraph.
function(roff_of out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REPLACE ";" "\\:" text "${text}")   # keeps CMake's list splitting off the text
  string(REPLACE "\n" ";" _lines "${text}")
  set(_roff "")
  set(_nofill FALSE)
  set(_previous "")
  foreach(_line IN LISTS _lines)
    string(REPLACE "\\:" ";" _line "${_line}")
    # A sentence that starts a line after one that ended one: the help's own line break.
    if(_previous MATCHES "[.:]$" AND _line MATCHES "^[A-Z]")
      string(APPEND _roff ".br\n")
    endif()
    set(_previous "${_line}")
    if(_line MATCHES "^ ")
      if(NOT _nofill)
        string(APPEND _roff ".nf\n")
        set(_nofill TRUE)
      endif()
    elseif(_nofill)
      string(APPEND _roff ".fi\n")
      set(_nofill FALSE)
    endif()
    if(_line STREQUAL "")
      if(NOT _roff MATCHES "\\.PP\n$")
        string(APPEND _roff ".PP\n")
      endif()
    elseif(_line MATCHES "^[.']")
      string(APPEND _roff "\\&${_line}\n")
    else()
      string(APPEND _roff "${_line}\n")
    endif()
  endforeach()
  if(_nofill)
    string(APPEND _roff ".fi\n")
  endif()
  string(REGEX REPLACE "(\\.PP\n)+$" "" _roff "${_roff}")
  set(${out} "${_roff}" PARENT_SCOPE)
endfunction()

if(LANG STREQUAL "it")
  set(_name "esegue le operazioni di manutenzione del lettore Corvel3 senza finestra")
  set(_sections "NOME" "SINTASSI" "DESCRIZIONE" "COMANDI" "VEDERE ANCHE" "Comandi:")
else()
  set(_name "runs the maintenance operations of the Corvel3 player without a window")
  set(_sections "NAME" "SYNOPSIS" "DESCRIPTION" "COMMANDS" "SEE ALSO" "Commands:")
endif()
list(GET _sections 0 _s_name)
list(GET _sections 1 _s_synopsis)
list(GET _sections 2 _s_description)
list(GET _sections 3 _s_commands)
list(GET _sections 4 _s_see)
list(GET _sections 5 _commands_heading)

help_of(_tool)
# The first line is the usage, the rest the description.
string(FIND "${_tool}" "\n" _eol)
string(SUBSTRING "${_tool}" 0 ${_eol} _usage)
string(SUBSTRING "${_tool}" ${_eol} -1 _description)
string(REGEX REPLACE "^[^:]*: *corvel3-cli *" "" _usage "${_usage}")
string(REGEX REPLACE "^\n+" "" _description "${_description}")

# The commands are the indented words under the heading, up to the first blank line.
string(FIND "${_tool}" "${_commands_heading}\n" _at)
if(_at LESS 0)
  message(FATAL_ERROR "manpage.cmake: no '${_commands_heading}' in the help")
endif()
string(SUBSTRING "${_tool}" ${_at} -1 _list)
string(FIND "${_list}" "\n\n" _end)
string(SUBSTRING "${_list}" 0 ${_end} _list)
string(REGEX MATCHALL "\n  [a-z][a-z-]*" _commands "${_list}")

roff_of(_description_roff "${_description}")
string(REPLACE "-" "\\-" _usage "${_usage}")
set(_page ".TH CORVEL3\\-CLI 1 \"${DATE}\" \"corvel3\\-cli ${VERSION}\" \"User Commands\"
.SH ${_s_name}
corvel3\\-cli \\- ${_name}
.SH ${_s_synopsis}
.B corvel3\\-cli
${_usage}
.SH ${_s_description}
${_description_roff}
.SH ${_s_commands}
")
foreach(_c IN LISTS _commands)
  string(STRIP "${_c}" _c)
  help_of(_help ${_c})
  # Drop the usage line: the section title names the command.
  string(FIND "${_help}" "\n" _eol)
  string(SUBSTRING "${_help}" ${_eol} -1 _help)
  string(REGEX REPLACE "^\n+" "" _help "${_help}")
  # The common options' reminder closes every command's help; the page lists them once.
  string(REGEX REPLACE "\n\n[^\n]*'corvel3-cli --help'\\)\\.\n*$" "\n" _help "${_help}")
  roff_of(_help_roff "${_help}")
  string(APPEND _page ".SS ${_c}\n${_help_roff}\n")
endforeach()
string(APPEND _page ".SH ${_s_see}\n.BR corvel3 (1)\n")
file(WRITE ${OUTPUT} "${_page}")
