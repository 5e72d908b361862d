# Builds a small tree whose includes point up a floor or past the runner, and expects the layer
# check to fail naming each of them (and to pass the same tree once they are gone).
#   cmake -DCHECKER=<check-layers.cmake> -DWORK=<scratch folder> -P refuses.cmake
file(REMOVE_RECURSE ${WORK})
set(_bad
  "core/seam.h|operations/operations.h"
  "device/probe.cpp|transfer/backup.h"
  "transfer/copy.cpp|operations/operations.h"
  "optimise/scan.cpp|cli/clifrontend.h"
  "operations/run.cpp|ui/mainwindow.h"
  "ui/window.cpp|update/reinstall.h"
  "app/boot.cpp|device/devicedrive.h"
  "cli/main.cpp|optimise/optimiserun.h")
foreach(_pair ${_bad})
  string(REPLACE "|" ";" _p ${_pair})
  list(GET _p 0 _file)
  list(GET _p 1 _include)
  file(WRITE ${WORK}/${_file} "#include \"core/fine.h\"\n#include \"${_include}\"\n")
endforeach()
file(WRITE ${WORK}/ui/good.cpp "#include \"operations/operations.h\"\n#include \"core/dialogs.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK} -P ${CHECKER} RESULT_VARIABLE _rc ERROR_VARIABLE _err)
if(_rc EQUAL 0)
  message(FATAL_ERROR "the layer check passed a tree with includes pointing up")
endif()
foreach(_pair ${_bad})
  string(REPLACE "|" ";" _p ${_pair})
  list(GET _p 0 _file)
  string(FIND "${_err}" "${_file}" _at)
  if(_at EQUAL -1)
    message(FATAL_ERROR "the layer check did not name ${_file}:\n${_err}")
  endif()
endforeach()
string(FIND "${_err}" "ui/good.cpp" _at)
if(NOT _at EQUAL -1)
  message(FATAL_ERROR "the layer check named a front end that includes only the runner and core")
endif()
file(REMOVE_RECURSE ${WORK})
