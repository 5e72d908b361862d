# What a Debian system expects besides the programs: the copyright, the changelog, manual pages
# (corvel3's written by hand, corvel3-cli's made from its own help, English and Italian) and the
# command line's bash completion; then the package's own fields. Included by the top CMakeLists
# before CPack.
if(NOT UNIX OR APPLE)
  return()
endif()

set(_pkg ${CMAKE_SOURCE_DIR}/packaging)
set(_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_out}/man/en ${_out}/man/it)

# The changelog's top entry names the package's version; a version bump without an entry is
# caught here rather than by lintian after the package is built.
set(CORVEL3_DEB_RELEASE 1 CACHE STRING "Debian revision of the package")
file(STRINGS ${_pkg}/changelog _top LIMIT_COUNT 1)
set(_wanted "${PROJECT_VERSION}-${CORVEL3_DEB_RELEASE}")
if(NOT _top MATCHES "^corvel3 \\(${_wanted}\\) ")
  message(FATAL_ERROR "packaging/changelog: the top entry is not version ${_wanted}: ${_top}")
endif()
file(STRINGS ${_pkg}/changelog _sign REGEX "^ -- " LIMIT_COUNT 1)
if(NOT _sign MATCHES ", [0-9]+ ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in the top entry's signature line")
endif()
set(_months Jan January Feb February Mar March Apr April May May Jun June Jul July Aug August
            Sep September Oct October Nov November Dec December)
list(FIND _months ${CMAKE_MATCH_1} _m)
math(EXPR _m "${_m} + 1")
list(GET _months ${_m} _month)
set(CORVEL3_RELEASE_MONTH "${_month} ${CMAKE_MATCH_2}")

# gzip -9n: no name or time stamp inside, so the same sources give the same package.
set(_gzip gzip -9nf)
configure_file(${_pkg}/changelog ${_out}/changelog.Debian COPYONLY)
configure_file(${_pkg}/corvel3.1 ${_out}/man/en/corvel3.1 @ONLY)
add_custom_command(OUTPUT ${_out}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${_out}/changelog.Debian ${_out}/changelog.Debian.tmp
  COMMAND ${_gzip} ${_out}/changelog.Debian.tmp
  COMMAND ${CMAKE_COMMAND} -E rename ${_out}/changelog.Debian.tmp.gz ${_out}/changelog.Debian.gz
  DEPENDS ${_out}/changelog.Debian VERBATIM)
add_custom_command(OUTPUT ${_out}/man/en/corvel3.1.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${_out}/man/en/corvel3.1 ${_out}/man/en/corvel3.tmp
  COMMAND ${_gzip} ${_out}/man/en/corvel3.tmp
  COMMAND ${CMAKE_COMMAND} -E rename ${_out}/man/en/corvel3.tmp.gz ${_out}/man/en/corvel3.1.gz
  DEPENDS ${_out}/man/en/corvel3.1 VERBATIM)
set(_generated ${_out}/changelog.Debian.gz ${_out}/man/en/corvel3.1.gz)
foreach(_lang en it)
  set(_page ${_out}/man/${_lang}/corvel3-cli.1)
  add_custom_command(OUTPUT ${_page}.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:corvel3-cli> -DLANG=${_lang}
            "-DDATE=${CORVEL3_RELEASE_MONTH}" -DVERSION=${PROJECT_VERSION} -DOUTPUT=${_page}
            -P ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
    COMMAND ${_gzip} ${_page}
    DEPENDS corvel3-cli ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
    COMMENT "Writing the ${_lang} manual page of corvel3-cli from its help" VERBATIM)
  list(APPEND _generated ${_page}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${_generated})

set(_doc ${CMAKE_INSTALL_DATADIR}/doc/corvel3)
install(FILES ${_pkg}/copyright ${_out}/changelog.Debian.gz DESTINATION ${_doc})
install(FILES ${_out}/man/en/corvel3.1.gz ${_out}/man/en/corvel3-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_out}/man/it/corvel3-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1)
install(FILES ${_pkg}/corvel3-cli.bash-completion RENAME corvel3-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${_pkg}/corvel3.lintian-overrides RENAME corvel3 DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)

set(CPACK_DEBIAN_PACKAGE_RELEASE ${CORVEL3_DEB_RELEASE})
set(CPACK_PACKAGE_CONTACT "Corvel3 tool maintainers <maintainers@corvel3.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://corvel3.example.org")
# The synopsis, then the extended description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maintenance tool for the Corvel3 music player")
set(CPACK_PACKAGE_DESCRIPTION "The Corvel3 is a stand-alone music and backing-track player whose internal
disk appears on the PC, over USB, as a drive labelled \"corvel3\". This tool
finds that drive and keeps the player healthy:
 - updates the player's system software from the vendor's update server;
 - backs the song library and the playlists up to a folder on the PC, with a
   SHA-256 manifest, and restores them after checking every file;
 - optimises the library: deletes unsupported files, gathers images, splits
   folders of more than 1000 songs by song title and rewrites the playlists;
 - reinstalls the system when the player no longer starts;
 - checks the player's system files at every start and offers to repair them.
.
The package holds the desktop program (corvel3) and a command-line tool
(corvel3-cli) that runs the same operations from scripts. Every text is in
Italian and English.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The description's quotes reach the control file as they are.
set(CPACK_VERBATIM_VARIABLES ON)
