# SPDX-License-Identifier: MIT
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

# What Debian asks of a package besides the programs: manual pages, the
# copyright file, a changelog and AppStream metadata. Files that carry the
# version or the maintainer are generated, so each is said once.
set(KUVELL_PACKAGE_MAINTAINER "Kuvell developers <kuvell@example.org>" CACHE STRING
    "Maintainer of the Debian package, as \"Name <address>\"")
set(KUVELL_APPSTREAM_ID org.kuvell.kuvell)
set(KUVELL_GENERATED ${PROJECT_BINARY_DIR}/package-files)
find_program(GZIP_PROGRAM gzip REQUIRED)

# kuvell_gzipped(<file>): writes <file>.gz as Debian wants documentation
# compressed: at the best level, without a name or time stamp inside, so the
# package is the same whenever it is built.
function(kuvell_gzipped file)
  execute_process(COMMAND ${GZIP_PROGRAM} -9nkf ${file} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

foreach(page kuvell kuvell-ifstat)
  configure_file(${KUVELL_RESOURCES}/${page}.1 ${KUVELL_GENERATED}/${page}.1 @ONLY)
  kuvell_gzipped(${KUVELL_GENERATED}/${page}.1)
  install(FILES ${KUVELL_GENERATED}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

configure_file(${KUVELL_RESOURCES}/changelog.in ${KUVELL_GENERATED}/changelog @ONLY)
kuvell_gzipped(${KUVELL_GENERATED}/changelog)

# The copyright file quotes LICENSE, in the indented form of Debian's format.
include(${CMAKE_CURRENT_LIST_DIR}/ProjectFacts.cmake)
string(FIND "${KUVELL_LICENSE_TEXT}" "Permission is hereby granted" terms_start)
if(terms_start EQUAL -1)
  message(FATAL_ERROR "LICENSE lacks the MIT terms the copyright file quotes")
endif()
string(SUBSTRING "${KUVELL_LICENSE_TEXT}" ${terms_start} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(KUVELL_LICENSE_TERMS " ${terms}")
configure_file(${KUVELL_RESOURCES}/copyright.in ${KUVELL_GENERATED}/copyright @ONLY)
install(FILES ${KUVELL_GENERATED}/copyright ${KUVELL_GENERATED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

configure_file(${KUVELL_RESOURCES}/kuvell.metainfo.xml.in
               ${KUVELL_GENERATED}/${KUVELL_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${KUVELL_GENERATED}/${KUVELL_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kuvell)
set(CPACK_PACKAGE_VENDOR "${KUVELL_PUBLISHER}")
set(CPACK_PACKAGE_CONTACT "${KUVELL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
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
# The settings dialog's captions are Chinese: without a CJK font they are empty boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei")

include(CPack)
