# SPDX-License-Identifier: MIT
# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (package
# g++-mingw-w64-x86-64-posix); the test programs run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(kuvell_mingw x86_64-w64-mingw32)
# The POSIX threads flavour: GoogleTest needs the C++ thread library.
set(CMAKE_C_COMPILER ${kuvell_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${kuvell_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${kuvell_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${kuvell_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthread linked in: an .exe needs no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Debian keeps wine64 out of PATH, in /usr/lib/wine.
find_program(KUVELL_WINE64 wine64 PATHS /usr/lib/wine)
if(KUVELL_WINE64 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KUVELL_WINE64})
endif()
