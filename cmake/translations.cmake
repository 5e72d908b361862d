# The program's texts: Qt Linguist catalogues in translations/, compiled to .qm and embedded in
# the library given (":/i18n/corvel3_<language>.qm"). Adding a language: its .ts file and its
# code in CORVEL3_LANGUAGES (and its row in core/language.cpp).
#
# Run as a script, it is the catalogues' check (a CTest entry): lupdate into a copy of every .ts
# must change nothing, and every message must have its translation.
#   cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<top> -DWORK=<scratch folder> -P translations.cmake
set(CORVEL3_LANGUAGES it en)
# Where the texts live (the folders lupdate reads), and how it writes the catalogues: no line
# numbers, so moving code does not touch them, and no entries the sources no longer have.
set(CORVEL3_TR_FOLDERS core device transfer update optimise health operations ui app cli)
set(CORVEL3_LUPDATE_OPTIONS -silent -locations none -no-obsolete -extensions cpp,h,ui -source-language en_GB)

function(_corvel_target_language lang out)
  if(lang STREQUAL "it")
    set(${out} it_IT PARENT_SCOPE)
  elseif(lang STREQUAL "en")
    set(${out} en_GB PARENT_SCOPE)
  else()
    set(${out} ${lang} PARENT_SCOPE)
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  set(_failures "")
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK})
  foreach(_lang ${CORVEL3_LANGUAGES})
    set(_ts ${SOURCE_DIR}/translations/corvel3_${_lang}.ts)
    if(NOT EXISTS ${_ts})
      list(APPEND _failures "translations/corvel3_${_lang}.ts is missing")
      continue()
    endif()
    configure_file(${_ts} ${WORK}/corvel3_${_lang}.ts COPYONLY)
    _corvel_target_language(${_lang} _target)
    execute_process(COMMAND ${LUPDATE} ${CORVEL3_LUPDATE_OPTIONS} -target-language ${_target}
                            ${CORVEL3_TR_FOLDERS} -ts ${WORK}/corvel3_${_lang}.ts
                    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    if(NOT _rc EQUAL 0)
      list(APPEND _failures "lupdate failed on corvel3_${_lang}.ts (${_rc})")
      continue()
    endif()
    file(READ ${_ts} _committed)
    file(READ ${WORK}/corvel3_${_lang}.ts _fresh)
    if(NOT _committed STREQUAL _fresh)
      list(APPEND _failures "translations/corvel3_${_lang}.ts is out of date with the sources (texts added, changed or gone): run lupdate and translate")
    endif()
    # What lupdate marks: a new text not translated yet, one the sources lost; and empty translations.
    string(REGEX MATCHALL "<source>[^<]*</source>[ \t\r\n]*(<comment>[^<]*</comment>[ \t\r\n]*)?<translation( type=\"(unfinished|vanished|obsolete)\")?( */>|></translation>|>)" _entries "${_committed}")
    foreach(_e ${_entries})
      if(_e MATCHES "type=\"" OR _e MATCHES "/>$" OR _e MATCHES "></translation>$")
        string(REGEX REPLACE "^<source>([^<]*)</source>.*" "\\1" _text "${_e}")
        list(APPEND _failures "corvel3_${_lang}.ts: no translation for \"${_text}\"")
      endif()
    endforeach()
  endforeach()
  if(_failures)
    string(REPLACE ";" "\n  " _msg "${_failures}")
    message(FATAL_ERROR "Translations incomplete:\n  ${_msg}")
  endif()
  message(STATUS "Every text has its translation in: ${CORVEL3_LANGUAGES}")
  return()
endif()

# Qt 5 by default; -DCORVEL3_QT=6 builds with Qt 6.
if(NOT DEFINED CORVEL3_QT)
  set(CORVEL3_QT 5)
endif()
find_package(Qt${CORVEL3_QT} REQUIRED COMPONENTS LinguistTools)

# Compiles the catalogues and embeds them in target.
function(corvel_add_translations target)
  set(_ts_files "")
  foreach(_lang ${CORVEL3_LANGUAGES})
    list(APPEND _ts_files ${CMAKE_SOURCE_DIR}/translations/corvel3_${_lang}.ts)
  endforeach()
  if(CORVEL3_QT EQUAL 6)
    qt6_add_translation(_corvel_qms ${_ts_files})
  else()
    qt5_add_translation(_corvel_qms ${_ts_files})
  endif()
  set(_qrc "<RCC>\n  <qresource prefix=\"/i18n\">\n")
  foreach(_qm ${_corvel_qms})
    get_filename_component(_name ${_qm} NAME)
    string(APPEND _qrc "    <file alias=\"${_name}\">${_qm}</file>\n")
  endforeach()
  string(APPEND _qrc "  </qresource>\n</RCC>\n")
  set(_qrc_file ${CMAKE_CURRENT_BINARY_DIR}/corvel3_translations.qrc)
  # Written at configure time: the resource compiler's rule reads the list of files from it.
  file(WRITE ${_qrc_file}.new "${_qrc}")
  configure_file(${_qrc_file}.new ${_qrc_file} COPYONLY)
  if(CORVEL3_QT EQUAL 6)
    qt6_add_resources(_rcc ${_qrc_file})
  else()
    qt5_add_resources(_rcc ${_qrc_file})
  endif()
  target_sources(${target} PRIVATE ${_rcc})
endfunction()

# The check, run by ctest (and so by scripts/test.sh).
function(corvel_add_translation_check)
  add_test(NAME translations/complete
           COMMAND ${CMAKE_COMMAND} -DLUPDATE=$<TARGET_FILE:Qt${CORVEL3_QT}::lupdate> -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
                   -DWORK=${CMAKE_BINARY_DIR}/translations-check -P ${CMAKE_SOURCE_DIR}/cmake/translations.cmake)
endfunction()
