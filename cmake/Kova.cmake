# Build helpers shared by every folder.

set(KOVA_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter)

if(KOVA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(KOVA_FUZZ)
  # Every library is instrumented for coverage; only the fuzz programs link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# kova_library(NAME [GUI] SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# GUI libraries are left out when KOVA_GUI is off.
function(kova_library name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  if(A_GUI AND NOT KOVA_GUI)
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  # The layer check (cmake/LayerCheck.cmake) describes every library.
  set_property(GLOBAL APPEND PROPERTY KOVA_LIBRARIES ${name})
  if(A_GUI)
    set_property(TARGET ${name} PROPERTY KOVA_WINDOWED TRUE)
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${KOVA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${A_PUBLIC_LIBS} PRIVATE ${A_PRIVATE_LIBS})
endfunction()

# kova_test(NAME [GUI] SOURCES ... [LIBS ...] [LABELS ...])
# Each test program runs in a working folder of its own inside the build tree,
# so the error log and settings files it writes never meet another program's.
function(kova_test name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT KOVA_TESTS)
    return()
  endif()
  if(A_GUI AND NOT KOVA_GUI)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${KOVA_WARNINGS})
  if(A_GUI)
    target_link_libraries(${name} PRIVATE ${A_LIBS} kova_testsupport_gui GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${A_LIBS} kova_testsupport GTest::gtest GTest::gmock)
  endif()
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/work-${name})
  file(MAKE_DIRECTORY ${workdir})
  set(labels ${A_LABELS})
  if(A_GUI)
    list(APPEND labels gui)
  else()
    list(APPEND labels core)
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${workdir}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}" TIMEOUT 300)
endfunction()

# kova_x_display_test(NAME SOURCES ... [LIBS ...]): a windowed test program
# run whole, as one test, on an X display of its own with a window manager
# (tests/support/in-x-display), for what the offscreen platform cannot show:
# stacking, focus, modality, real clicks. Skipped where Xvfb, openbox,
# xdotool or xprop is missing.
function(kova_x_display_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KOVA_TESTS OR NOT KOVA_GUI)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${KOVA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} kova_testsupport_xdisplay GTest::gtest GTest::gmock)
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/work-${name})
  file(MAKE_DIRECTORY ${workdir})
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/in-x-display $<TARGET_FILE:${name}>
    WORKING_DIRECTORY ${workdir})
  set_tests_properties(${name} PROPERTIES LABELS "gui;xdisplay" TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()

# kova_test_on_postgresql(NAME): runs the tests of NAME (a kova_test program
# on the training records) a second time, named "postgresql.<test>", on the
# throwaway PostgreSQL server that the fixture records_postgresql starts
# (tests/Database/records.cmake). Nothing when NAME is not built.
function(kova_test_on_postgresql name)
  if(NOT TARGET ${name})
    return()
  endif()
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/work-${name}-postgresql)
  file(MAKE_DIRECTORY ${workdir})
  gtest_discover_tests(${name}
    TEST_PREFIX "postgresql."
    WORKING_DIRECTORY ${workdir}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      LABELS postgresql
      TIMEOUT 300
      ENVIRONMENT "KOVA_TEST_POSTGRESQL=${PROJECT_BINARY_DIR}/tests/Database/postgresql-server"
      FIXTURES_REQUIRED records_postgresql)
endfunction()

# kova_fuzzer(NAME SOURCES ... [LIBS ...]): a libFuzzer program, built only with KOVA_FUZZ.
# .ci/run runs every program in <build>/fuzz briefly.
function(kova_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KOVA_FUZZ)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
endfunction()

# kova_benchmark(NAME SOURCES ... [LIBS ...]): a Google Benchmark program in <build>/bench.
function(kova_benchmark name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KOVA_BENCH)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${KOVA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark)
  # The reporter every benchmark program prints its ratios with.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
endfunction()

# A folder whose parts are built by several people at once keeps one
# fragment per part (<part>.cmake) beside its CMakeLists.txt, or, for a part
# with a folder of its own, in that folder (<part>/<part>.cmake); the
# fragments add their sources to the folder's library with target_sources and
# define their own test programs. They are included, not added as
# subdirectories, so a part's folder builds into its parent's library and
# build folder.
macro(kova_include_fragments)
  file(GLOB _kova_fragments CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake ${CMAKE_CURRENT_SOURCE_DIR}/*/*.cmake)
  list(SORT _kova_fragments)
  foreach(_fragment IN LISTS _kova_fragments)
    include(${_fragment})
  endforeach()
endmacro()
