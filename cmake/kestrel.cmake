# Project-wide compile flags and the helpers every subsystem uses to declare its targets.

add_compile_options(-Wall -Wextra -Wpedantic)
if(KESTREL_WERROR)
  add_compile_options(-Werror)
endif()

if(KESTREL_SANITIZE)
  add_compile_options(-fsanitize=${KESTREL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KESTREL_SANITIZE})
endif()

# Fuzz builds instrument every library for coverage; the targets add the fuzzer's main.
if(KESTREL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# lld links the test programs in a third of the time the default linker takes.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld KESTREL_HAVE_LLD)
if(KESTREL_HAVE_LLD)
  add_link_options(-fuse-ld=lld)
endif()

# The subsystem libraries include each other as "lib13818/tables/pat.h" and so on.
include_directories(${CMAKE_SOURCE_DIR})

# kestrel_library(name [SOURCES ...] [DEPS ...]): a static library of a subsystem.
# Without SOURCES every .cpp below the folder, outside tests/, bench/ and fuzz/, is taken.
function(kestrel_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT L_SOURCES)
    file(GLOB_RECURSE L_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER L_SOURCES EXCLUDE REGEX "/(tests|bench|fuzz|tools)/")
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
endfunction()

# A failing test needs a backtrace with line numbers, not full debug information, and under
# the sanitizers the tests' own code needs no optimisation (the code under test keeps its
# flags): the two take about a third off building the tests.
if(KESTREL_SANITIZE)
  set(test_options -O0 -g1)
else()
  set(test_options -g1)
endif()
set(KESTREL_TEST_OPTIONS "${test_options}" CACHE STRING "Compile options of the test programs' own code")

# The ThreadSanitizer stage builds this target alone: the threaded tests and what they link,
# not the programs and libraries no threaded test needs.
if(KESTREL_TESTS)
  add_custom_target(threaded_tests)
endif()

# kestrel_test(name [THREADED] [SOURCES ...] [DEPS ...]): one GoogleTest executable and its ctest entry.
# Without SOURCES every .cpp in the folder's tests/ is taken. THREADED tests also run under
# ThreadSanitizer; in a KESTREL_THREADED_ONLY build the others are left out.
function(kestrel_test name)
  cmake_parse_arguments(T "THREADED" "" "SOURCES;DEPS" ${ARGN})
  if(NOT KESTREL_TESTS OR (KESTREL_THREADED_ONLY AND NOT T_THREADED))
    return()
  endif()
  if(NOT T_SOURCES)
    file(GLOB T_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  endif()
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest_main GTest::gmock)
  target_compile_options(${name} PRIVATE ${KESTREL_TEST_OPTIONS})
  target_compile_definitions(${name} PRIVATE KESTREL_SHARED_DIR="${KESTREL_SHARED_DIR}"
                                             KESTREL_DATA_DIR="${CMAKE_BINARY_DIR}/bin")
  add_test(NAME ${name} COMMAND ${name})
  # A test that hangs fails after five minutes instead of holding the run up.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(T_THREADED)
    set_tests_properties(${name} PROPERTIES LABELS threaded)
    add_dependencies(threaded_tests ${name})
  endif()
endfunction()

# kestrel_bench(name [SOURCES ...] [DEPS ...]): one Google Benchmark executable, run by `make bench`.
function(kestrel_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT KESTREL_BENCH OR KESTREL_THREADED_ONLY)
    return()
  endif()
  if(NOT B_SOURCES)
    file(GLOB B_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench/*.cpp)
  endif()
  if(NOT B_SOURCES)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_DEPS} benchmark::benchmark)
  # Looped captures go into the build folder, never into the sources.
  target_compile_definitions(${name} PRIVATE KESTREL_SHARED_DIR="${KESTREL_SHARED_DIR}"
                                             KESTREL_BUILD_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# kestrel_fuzz(name SOURCES ... [DEPS ...]): one libFuzzer target, run by `make fuzz`.
function(kestrel_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT KESTREL_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
