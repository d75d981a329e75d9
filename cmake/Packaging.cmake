# Install rules and the Debian package. The executables are installed only once
# they exist, so a tree that builds part of Kuvell still configures.

include(GNUInstallDirs)

foreach(program kuvell kuvell-ifstat)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(KUVELL_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
install(FILES ${KUVELL_RESOURCES}/kuvell.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KUVELL_RESOURCES}/icons/kuvell.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${KUVELL_RESOURCES}/icons/kuvell-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME kuvell.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kuvell)
set(CPACK_PACKAGE_VENDOR "Kuvell developers")
set(CPACK_PACKAGE_CONTACT "Kuvell developers <kuvell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small desktop network-traffic monitor")
set(CPACK_PACKAGE_DESCRIPTION
    "Kuvell shows the download and upload rate of one network interface once a\n"
    "second in a small borderless always-on-top window, as a text line and a\n"
    "scrolling bar graph of the last 299 seconds, and in a notification-area\n"
    "icon. It keeps running byte totals across runs. The package also holds\n"
    "kuvell-ifstat, which prints the interface table and the same rates in a\n"
    "terminal.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies come from what the binaries actually link, not a list kept by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The window cannot open without Qt's X11/Wayland platform plugins, which Debian
# ships apart from the libraries; dpkg-shlibdeps adds the libraries after this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")

include(CPack)
