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

set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Simulatore della dinamica newtoniana nel piano")
set(CPACK_PACKAGE_DESCRIPTION "Quorvane simulates systems of planets under Newtonian and other central forces, full screen, with traces, vectors and labels, and an editor for the systems.")
set(CPACK_PACKAGE_CONTACT "Quorvane Team <quorvane@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvane Team <quorvane@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 platform plugin is only recommended by Qt; without it the program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
