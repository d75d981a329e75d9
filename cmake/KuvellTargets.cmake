# Every subsystem folder is globbed, so adding a source file needs no CMake edit.

# kuvell_library(<target> <dir> [QT] [LIBS ...])
# A static library from the *.cpp files of <dir> (not recursive). With QT, moc runs.
function(kuvell_library target dir)
  cmake_parse_arguments(ARG "QT" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()
  if(NOT sources)  # headers only so far
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_LIBS})
    return()
  endif()
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
  target_link_libraries(${target} PUBLIC ${ARG_LIBS})
endfunction()

# kuvell_test_dir(<name> <dir> [QT] [LIBS ...])
# One test executable from the *.cpp files of <dir>; QT tests get a QApplication
# main and run on the offscreen platform. A folder without tests adds nothing.
function(kuvell_test_dir name dir)
  cmake_parse_arguments(ARG "QT" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE kuvell_qt_test_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;KUVELL_BINARY_DIR=${PROJECT_BINARY_DIR}"
    TIMEOUT 300)
endfunction()

# kuvell_benchmark(<name> <source> [LIBS ...])
# A Google Benchmark executable, plus a ctest entry that runs every benchmark
# once so a benchmark never silently stops building or running.
function(kuvell_benchmark name source)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  add_test(NAME ${name}_once COMMAND ${name} --benchmark_min_time=0.001 --benchmark_repetitions=1)
  set_tests_properties(${name}_once PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    TIMEOUT 300)
endfunction()
