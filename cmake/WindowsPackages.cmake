# SPDX-License-Identifier: MIT
# The two ways Kuvell is handed to Windows users: an installer for one user,
# needing no administrator (NSIS), and a zip of the bare programs. Both are the
# target windows-packages, outside the default build.
include(${CMAKE_CURRENT_LIST_DIR}/ProjectFacts.cmake)
find_program(KUVELL_MAKENSIS makensis REQUIRED)

set(KUVELL_WINDOWS_PACKAGES ${PROJECT_BINARY_DIR}/windows-packages)
set(KUVELL_WINDOWS_SETUP ${KUVELL_WINDOWS_PACKAGES}/kuvell-${PROJECT_VERSION}-setup.exe)
set(KUVELL_WINDOWS_ZIP ${KUVELL_WINDOWS_PACKAGES}/kuvell-${PROJECT_VERSION}-windows-x86_64.zip)
set(stage ${KUVELL_WINDOWS_PACKAGES}/stage)
set(script ${PROJECT_SOURCE_DIR}/resources/windows/kuvell.nsi)

set(programs kuvell kuvell-ifstat)

# The programs are copied without their symbols, under the names users see.
set(stage_commands)
set(staged_names)
foreach(program IN LISTS programs)
  list(APPEND stage_commands COMMAND ${CMAKE_STRIP} -o ${stage}/${program}.exe $<TARGET_FILE:${program}>)
  list(APPEND staged_names ${program}.exe)
endforeach()

add_custom_command(OUTPUT ${KUVELL_WINDOWS_SETUP} ${KUVELL_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  ${stage_commands}
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
          ${CMAKE_COMMAND} -E tar cf ${KUVELL_WINDOWS_ZIP} --format=zip ${staged_names}
  COMMAND ${KUVELL_MAKENSIS} -V2 -NOCD -DVERSION=${PROJECT_VERSION} "-DPUBLISHER=${KUVELL_PUBLISHER}"
          "-DCOPYRIGHT=${KUVELL_COPYRIGHT}"
          -DSTAGE=${stage} -DICON=${KUVELL_WINDOWS_ICON} -DOUTFILE=${KUVELL_WINDOWS_SETUP} ${script}
  DEPENDS ${programs} ${script} ${KUVELL_WINDOWS_ICON}
  COMMENT "Making the Windows installer and zip"
  VERBATIM)
add_custom_target(windows-packages DEPENDS ${KUVELL_WINDOWS_SETUP} ${KUVELL_WINDOWS_ZIP})
