# SPDX-License-Identifier: MIT
# What the Debian package and the Windows files both say of the project: its
# publisher and its copyright line, the latter read from LICENSE so that it is
# written once.
include_guard(GLOBAL)

set(KUVELL_PUBLISHER "Kuvell developers")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE KUVELL_LICENSE_TEXT)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" copyright_line "${KUVELL_LICENSE_TEXT}")
set(KUVELL_COPYRIGHT "${CMAKE_MATCH_1}")
if(NOT KUVELL_COPYRIGHT)
  message(FATAL_ERROR "LICENSE lacks the \"Copyright (c) ...\" line")
endif()
