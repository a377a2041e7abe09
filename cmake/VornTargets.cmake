# Helpers that every test, benchmark and fuzz folder uses to declare its executables.

# vorn_add_test(NAME SOURCES files... [LIBS libs...] [QT | X11])
# A GoogleTest executable whose cases ctest runs one by one. QT gives it a QApplication
# on the offscreen platform, so that ctest needs no display. X11 gives it a QApplication on an
# X server of its own (Xvfb, started and ended by the test program), for what only a real
# server does: key grabs, synthetic key presses, a notification area.
function(vorn_add_test name)
  cmake_parse_arguments(T "QT;X11" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_X11)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/XvfbMain.cpp)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE vorn_gui ${T_LIBS} GTest::gtest GTest::gmock Qt6::Test)
  elseif(T_QT)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE vorn_gui ${T_LIBS} GTest::gtest GTest::gmock Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE vorn_core ${T_LIBS} GTest::gtest_main GTest::gmock)
    target_compile_options(${name} PRIVATE ${VORN_WARNINGS})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE VORN_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             VORN_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# vorn_add_bench(NAME SOURCES files... [LIBS libs...])
function(vorn_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE vorn_core ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
endfunction()

# vorn_add_fuzz(NAME SOURCES files... [LIBS libs...])
function(vorn_add_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE vorn_core ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# vorn_add_gui_bench(NAME SOURCES files... [LIBS libs...] [REGEX]): a bench over the widgets,
# built only with the GUI; REGEX benches load the regular-expression module from the bin folder.
function(vorn_add_gui_bench name)
  if(NOT VORN_GUI)
    return()
  endif()
  cmake_parse_arguments(B "REGEX" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE vorn_gui ${B_LIBS} benchmark::benchmark)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  if(B_REGEX)
    target_compile_definitions(${name} PRIVATE VORN_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    add_dependencies(${name} VornRegexp)
  endif()
endfunction()
