# Where the programs go on a Debian system, and the package that puts them
# there (scripts/package runs CPack on the build tree). Included by the top
# CMakeLists.txt once the targets Vantrel, vantrel-scan and zm340-sim exist.
#
# The window keeps its settings in Vantrel.ini beside its executable, and
# vantrel-scan reads the same file beside its own, so the three programs live
# together in a private folder, /usr/lib/vantrel, with links on the PATH. The
# settings file there is a link to /etc/vantrel/Vantrel.ini, which the
# package's postinst creates for the group dialout.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# Users see major.minor.revision; the fourth field of the project's version
# is the revision.
set(VANTREL_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
set(VANTREL_DEB_REVISION 1)
set(VANTREL_APP_ID org.example.kestrel_club.Vantrel)

set(vantrel_private_dir lib/vantrel)
set(vantrel_settings_file /etc/vantrel/Vantrel.ini)
set(vantrel_stage ${CMAKE_BINARY_DIR}/packaging)
set(vantrel_packaging ${CMAKE_CURRENT_LIST_DIR})

# Files the package installs as they are made at configure time: the links,
# the manual pages with the version filled in, compressed as Debian wants
# them (no name or time stamp in the gzip header, so the same page gives the
# same bytes).
file(MAKE_DIRECTORY ${vantrel_stage}/bin ${vantrel_stage}/private ${vantrel_stage}/man)
foreach(link vantrel:Vantrel vantrel-scan:vantrel-scan zm340-sim:zm340-sim)
  string(REPLACE ":" ";" link "${link}")
  list(GET link 0 name)
  list(GET link 1 program)
  file(CREATE_LINK ../${vantrel_private_dir}/${program} ${vantrel_stage}/bin/${name} SYMBOLIC)
endforeach()
file(CREATE_LINK ${vantrel_settings_file} ${vantrel_stage}/private/Vantrel.ini SYMBOLIC)

function(vantrel_gzip source target)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
endfunction()

set(vantrel_man_pages)
foreach(page vantrel vantrel-scan zm340-sim)
  configure_file(${vantrel_packaging}/man/${page}.1.in ${vantrel_stage}/man/${page}.1 @ONLY)
  vantrel_gzip(${vantrel_stage}/man/${page}.1 ${vantrel_stage}/man/${page}.1.gz)
  list(APPEND vantrel_man_pages ${vantrel_stage}/man/${page}.1.gz)
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vantrel_packaging}/changelog)
vantrel_gzip(${vantrel_packaging}/changelog ${vantrel_stage}/changelog.Debian.gz)

# Installing (and so packing) takes the programs as they are built instead of
# building every target first: scripts/package builds the three it needs,
# and the package test packs a finished build without compiling anything.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS Vantrel vantrel-scan zm340-sim RUNTIME DESTINATION ${vantrel_private_dir})
install(FILES ${vantrel_stage}/private/Vantrel.ini DESTINATION ${vantrel_private_dir})
install(FILES ${vantrel_stage}/bin/vantrel ${vantrel_stage}/bin/vantrel-scan
  ${vantrel_stage}/bin/zm340-sim DESTINATION bin)
install(FILES ${vantrel_packaging}/${VANTREL_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${vantrel_packaging}/${VANTREL_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${vantrel_packaging}/icons/vantrel-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${VANTREL_APP_ID}.png)
endforeach()
install(FILES ${vantrel_packaging}/icons/vantrel.svg
  DESTINATION share/icons/hicolor/scalable/apps RENAME ${VANTREL_APP_ID}.svg)
install(FILES ${vantrel_man_pages} DESTINATION share/man/man1)
install(FILES ${vantrel_packaging}/copyright ${vantrel_stage}/changelog.Debian.gz
  DESTINATION share/doc/vantrel)
install(FILES ${vantrel_packaging}/lintian-overrides
  DESTINATION share/lintian/overrides RENAME vantrel)

# The Debian package. Its dependencies are what dpkg-shlibdeps finds in the
# programs' libraries, so nothing of the build or the tests comes along.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${VANTREL_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VANTREL_DEB_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "E. Varga <varga@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's layout is measured for a font as wide as Liberation Sans; any
# other sans-serif font still works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${vantrel_packaging}/postinst ${vantrel_packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_POST_BUILD_SCRIPTS ${vantrel_packaging}/InstalledSize.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PC companion for the ZM-340 handheld antenna analyzer")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Vantrel asks the ZM-340 analyzer on a serial port for a sweep of a band
from 160 m to VHF and draws the SWR, the resistance and the reactance
against frequency; the mouse reads any point and a sweep prints on one page.

vantrel-scan keeps sweeps as CSV, Touchstone or PNG files and prints the
lowest SWR, the resonance and the 2:1 and 1.5:1 bandwidth, with no display.
zm340-sim plays the analyzer on a pseudo-terminal for trying both out.

The port choice is shared by every user in group dialout.")
include(CPack)

if(BUILD_TESTING)
  # Builds the package from this build tree and checks it as its users and
  # Debian's tools would; exit status 77 means a packaging tool is missing.
  add_test(NAME debian_package
    COMMAND ${vantrel_packaging}/test-package ${CMAKE_BINARY_DIR}
      ${VANTREL_VERSION}-${VANTREL_DEB_REVISION} ${VANTREL_APP_ID})
  # Started first: it runs longest, and the short tests fill the other core.
  set_tests_properties(debian_package PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 COST 1000)
endif()
