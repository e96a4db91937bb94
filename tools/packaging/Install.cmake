# Installation and the Debian package.
include(GNUInstallDirs)

install(TARGETS quorvane quorvane-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/packaging/quorvane-desktop DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/tools/packaging/quorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/examples/Quorvane.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane)
# The window's own icon sizes, then the larger ones of the desktop theme.
foreach(size 16 32)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icon${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quorvane.png)
endforeach()
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/quorvane-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quorvane.png)
endforeach()

# Licence, changelog and manual pages where Debian wants them: the changelog and
# the pages compressed with gzip -9n (no name, no time stamp: reproducible).
set(_pkg_docs ${CMAKE_SOURCE_DIR}/tools/packaging)
set(_pkg_out ${CMAKE_BINARY_DIR}/packaging)
configure_file(${_pkg_docs}/changelog ${_pkg_out}/changelog COPYONLY)
set(_pkg_gz ${_pkg_out}/changelog.gz)
set(_pages quorvane quorvane-run quorvane-desktop)
foreach(page ${_pages})
  configure_file(${_pkg_docs}/man/${page}.1 ${_pkg_out}/${page}.1 @ONLY)
  list(APPEND _pkg_gz ${_pkg_out}/${page}.1.gz)
endforeach()
foreach(gz ${_pkg_gz})
  string(REGEX REPLACE "\\.gz$" "" plain ${gz})
  add_custom_command(OUTPUT ${gz} COMMAND gzip -9nkf ${plain} DEPENDS ${plain} VERBATIM)
endforeach()
add_custom_target(package_docs ALL DEPENDS ${_pkg_gz})
list(TRANSFORM _pages APPEND .1.gz OUTPUT_VARIABLE _page_files)
list(TRANSFORM _page_files PREPEND ${_pkg_out}/)
install(FILES ${_page_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_pkg_docs}/copyright ${_pkg_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvane)

set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of Newtonian dynamics in the plane")
# Lines of at most 80 characters; an empty line becomes the " ." of a new paragraph.
set(CPACK_PACKAGE_DESCRIPTION "Quorvane runs named systems of planets under a central force law (inverse
square, inverse n-th power or exponential) full screen, each body leaving a
trace of its path, with force and velocity vectors and names on request. An
editor creates and changes the systems, kept in one plain-text file. The user
interface is in Italian; it is meant for teaching mechanics in a classroom.

quorvane-run, a command-line companion, lists, simulates and draws the systems
for scripts and teaching material.")
set(CPACK_PACKAGE_CONTACT "Quorvane Team <quorvane@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvane Team <quorvane@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 platform plugin is only recommended by Qt; without it the program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package's binaries are stripped; those of the build keep their debug information.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
