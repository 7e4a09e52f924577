# Compiler settings shared by every target of the tree.

add_compile_options(
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wformat=2 -Wimplicit-fallthrough)
if(ORVANE_WERROR)
  add_compile_options(-Werror)
endif()
# g++ 12 reports overlapping copies inside its own std::string code at -O3 (a known false
# positive of that release); the warning says nothing about this code there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(ORVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (use the 'fuzz' preset)")
  endif()
  # Instrument everything for coverage; the fuzzer's main comes with each target.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# orvane_fuzz_target(NAME SOURCE LIBS...) builds one libFuzzer program.
function(orvane_fuzz_target name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# orvane_gtest(NAME SOURCES... LIBS lib...) builds one GoogleTest program with the shared test
# helpers (tests/support/) and registers it.
function(orvane_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvane_test_support GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# orvane_test_locales(TARGET LOCALE...) compiles the locales (de_DE, hi_IN, ...) into the
# build folder of a test that shows its texts ignore the process locale; the test finds them
# through ORVANE_TEST_LOCPATH. Without localedef the test goes without them.
function(orvane_test_locales target)
  find_program(LOCALEDEF_PROGRAM localedef)
  if(NOT LOCALEDEF_PROGRAM)
    return()
  endif()
  set(locpath ${CMAKE_CURRENT_BINARY_DIR}/locales)
  set(compiled)
  foreach(locale ${ARGN})
    add_custom_command(
      OUTPUT ${locpath}/${locale}.UTF-8/LC_NUMERIC
      COMMAND ${CMAKE_COMMAND} -E make_directory ${locpath}
      COMMAND ${LOCALEDEF_PROGRAM} -c -i ${locale} -f UTF-8 ${locpath}/${locale}.UTF-8 || true
      VERBATIM)
    list(APPEND compiled ${locpath}/${locale}.UTF-8/LC_NUMERIC)
  endforeach()
  add_custom_target(${target}_locales DEPENDS ${compiled})
  add_dependencies(${target} ${target}_locales)
  target_compile_definitions(${target} PRIVATE ORVANE_TEST_LOCPATH="${locpath}")
endfunction()

# orvane_bench(NAME [LIBS lib...] [RUNS target...]) builds the benchmark program NAME from
# NAME.cpp; RUNS names the programs it starts, which are built with it. Its own headers are
# included from the source root ("bench/BenchTiming.h").
function(orvane_bench name)
  cmake_parse_arguments(B "" "" "LIBS;RUNS" ${ARGN})
  add_executable(${name} ${name}.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  if(B_RUNS)
    add_dependencies(${name} ${B_RUNS})
  endif()
endfunction()

include(GoogleTest)
