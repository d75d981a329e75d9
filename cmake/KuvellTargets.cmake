# SPDX-License-Identifier: MIT
# Build settings live on INTERFACE targets that every project target links, so
# nothing leaks into code the project does not own.
add_library(kuvell_warnings INTERFACE)
target_compile_options(kuvell_warnings INTERFACE -Wall -Wextra -Wpedantic
                       $<$<BOOL:${KUVELL_WERROR}>:-Werror>)
add_library(kuvell_sanitizers INTERFACE)
if(KUVELL_SANITIZE)
  target_compile_options(kuvell_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(kuvell_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# kuvell_library(<target> [QT] SOURCES ... HEADERS ... [LIBS ...] [PRIVATE_LIBS ...])
# A static library. Its headers are linked into an include folder of its own,
# at their paths from the source root, and that folder is all it exposes: a
# target sees only the headers of the libraries it links.
function(kuvell_library target)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;HEADERS;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES} ${ARG_HEADERS})
  set(stage ${PROJECT_BINARY_DIR}/include/${target})
  foreach(header IN LISTS ARG_HEADERS)
    file(REAL_PATH ${header} source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
    get_filename_component(folder ${stage}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${source} ${stage}/${relative} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${stage})
  target_link_libraries(${target} PUBLIC ${ARG_LIBS} kuvell_sanitizers
                        PRIVATE ${ARG_PRIVATE_LIBS} kuvell_warnings)
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# kuvell_executable(<target> <sources...> LIBS ...)
function(kuvell_executable target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} kuvell_warnings kuvell_sanitizers)
endfunction()
