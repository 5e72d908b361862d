# The AppStream metainfo: appstreamcli's own validation (pedantic notes shown), and every
# screenshot it names under docs/screenshots/ present in the tree.
#   cmake -DAPPSTREAMCLI=<appstreamcli> -DSOURCE_DIR=<repository> -P check-metainfo.cmake
set(_file ${SOURCE_DIR}/packaging/org.corvel3.maintenance.metainfo.xml)
execute_process(COMMAND ${APPSTREAMCLI} validate --pedantic --no-net --explain ${_file} RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate failed for ${_file}")
endif()
file(READ ${_file} _xml)
string(REGEX MATCHALL "/docs/screenshots/[^<]+\\.png" _shots "${_xml}")
if(NOT _shots)
  message(FATAL_ERROR "${_file} shows no screenshot")
endif()
foreach(_s IN LISTS _shots)
  if(NOT EXISTS ${SOURCE_DIR}${_s})
    message(FATAL_ERROR "${_file} names ${_s}, which is not in the tree")
  endif()
endforeach()
