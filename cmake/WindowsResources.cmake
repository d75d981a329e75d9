# SPDX-License-Identifier: MIT
# The Windows resources of Kuvell's programs: the icon, the manifest and the
# version block that Explorer shows under Properties. The icon file is made
# from the committed PNG sizes at build time (icoutils' icotool), so the PNGs
# stay its one source.
include(${CMAKE_CURRENT_LIST_DIR}/ProjectFacts.cmake)
enable_language(RC)
find_program(KUVELL_ICOTOOL icotool REQUIRED)

set(KUVELL_WINDOWS_SOURCES ${PROJECT_SOURCE_DIR}/resources/windows)
set(KUVELL_WINDOWS_GENERATED ${PROJECT_BINARY_DIR}/windows-resources)
set(KUVELL_WINDOWS_ICON ${KUVELL_WINDOWS_GENERATED}/kuvell.ico)
set(KUVELL_WINDOWS_MANIFEST ${KUVELL_WINDOWS_SOURCES}/kuvell.manifest)

set(icon_sizes)
foreach(size 16 32 48 64 128)
  list(APPEND icon_sizes ${PROJECT_SOURCE_DIR}/resources/icons/kuvell-${size}.png)
endforeach()
# The largest size stays PNG inside the icon (as Windows reads it since Vista):
# as a bitmap it alone would weigh 256 KiB.
set(icon_large ${PROJECT_SOURCE_DIR}/resources/icons/kuvell-256.png)
add_custom_command(OUTPUT ${KUVELL_WINDOWS_ICON}
  COMMAND ${KUVELL_ICOTOOL} --create --output=${KUVELL_WINDOWS_ICON} ${icon_sizes}
          --raw=${icon_large}
  DEPENDS ${icon_sizes} ${icon_large}
  COMMENT "Making kuvell.ico"
  VERBATIM)
add_custom_target(kuvell_windows_icon DEPENDS ${KUVELL_WINDOWS_ICON})

# kuvell_windows_resources(<target> <description>)
# Adds the icon, the manifest and a version block naming <target>.exe and its
# one-line description to the program <target>.
function(kuvell_windows_resources target description)
  set(KUVELL_RC_NAME ${target})
  set(KUVELL_RC_FILE_NAME ${target}.exe)
  set(KUVELL_RC_DESCRIPTION "${description}")
  set(rc ${KUVELL_WINDOWS_GENERATED}/${target}.rc)
  configure_file(${KUVELL_WINDOWS_SOURCES}/kuvell.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  target_include_directories(${target} PRIVATE ${KUVELL_WINDOWS_SOURCES})
  # The resource compiler's dependency scan does not see the files the script names.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${KUVELL_WINDOWS_ICON};${KUVELL_WINDOWS_MANIFEST}")
  add_dependencies(${target} kuvell_windows_icon)
endfunction()
