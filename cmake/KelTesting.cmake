# Test helpers shared by every component.
include(GoogleTest)

set(KEL_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${KEL_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# kel_note_skip(file reason skipped-message used-message): says at configure
# time whether a kind of test will run, and keeps the reason in the build
# tree's file, which the scripts running such programs outside CTest read.
function(kel_note_skip file reason skipped used)
  if(reason)
    message(STATUS "${skipped}, reported skipped: ${reason}")
    file(WRITE ${CMAKE_BINARY_DIR}/${file} "${reason}\n")
  else()
    message(STATUS "${used}")
    file(REMOVE ${CMAKE_BINARY_DIR}/${file})
  endif()
endfunction()

if(KEL_WINDOWS)
  set(KEL_WINE_SKIP_REASON "")
  if(KEL_MACHINE STREQUAL "i386")
    include(${CMAKE_CURRENT_LIST_DIR}/KelWineProbe.cmake)
  endif()
  # Every Windows program runs under Wine with a prefix of this build's own.
  set(KEL_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(KEL_WINE_RUN ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${KEL_MACHINE} ${KEL_WINE_PREFIX})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KEL_WINE_RUN})

  if(NOT KEL_WINE_SKIP_REASON)
    add_test(NAME wine_prefix_start COMMAND ${KEL_WINE_RUN} cmd /c exit 0)
    set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine)
    # Leave no wineserver behind once the tests are over.
    add_test(NAME wine_prefix_stop COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-stop.sh ${KEL_WINE_PREFIX})
    set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine)
  endif()
  include(${CMAKE_CURRENT_LIST_DIR}/KelJava.cmake)
endif()

# kel_add_wine_test(NAME name COMMAND command...)
# A test that runs Windows programs under Wine. Where this tree's programs
# cannot start, CTest reports it skipped, with the reason as its output.
function(kel_add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME" "COMMAND")
  if(KEL_WINE_SKIP_REASON)
    add_test(NAME ${arg_NAME} COMMAND sh -c "echo \"$1\"; exit 77" skip "${KEL_WINE_SKIP_REASON}")
    set_tests_properties(${arg_NAME} PROPERTIES SKIP_RETURN_CODE 77)
  else()
    add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND})
    set_tests_properties(${arg_NAME} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

# The locales the text tests run under: Wine gives them the ANSI code pages
# 1252 and 1251 (tests/codepages/code_page_words.h has words for both), and
# the console (OEM) code pages of those countries, 850 and 866.
set(KEL_CODE_PAGE_LOCALES de_DE.UTF-8 ru_RU.UTF-8)
# And the double-byte code pages 932, 936 and 950, whose second bytes can be
# \ ^ |, for the tests of text that reaches cmd.exe and the C runtime.
set(KEL_DOUBLE_BYTE_LOCALES ja_JP.UTF-8 zh_CN.UTF-8 zh_TW.UTF-8)

# Wine takes the code page from LC_ALL's name alone, but names its Unix files
# in the locale's own character set, which is ASCII when the locale is not
# installed: a file named with a character beyond it (日) could not exist.
# So each locale is compiled into the build folder, where
# cmake/wine-run.sh finds it (LOCPATH).
set(KEL_LOCALE_DIR ${CMAKE_BINARY_DIR}/locales)
if(KEL_WINDOWS)
  file(MAKE_DIRECTORY ${KEL_LOCALE_DIR})
  foreach(locale IN LISTS KEL_CODE_PAGE_LOCALES KEL_DOUBLE_BYTE_LOCALES)
    if(locale MATCHES "^(.+)\\.UTF-8$" AND NOT EXISTS ${KEL_LOCALE_DIR}/${locale})
      execute_process(COMMAND localedef -i ${CMAKE_MATCH_1} -f UTF-8 ${KEL_LOCALE_DIR}/${locale}
                      RESULT_VARIABLE failed ERROR_VARIABLE message)
      if(failed)
        message(FATAL_ERROR "cannot compile the locale ${locale} (is the locales package installed?): ${message}")
      endif()
    endif()
  endforeach()
endif()

# kel_add_gtest(NAME SOURCES src... [LIBS lib...] [ENVIRONMENT VAR=value]
#               [LOCALES locale...])
# Builds a GoogleTest program and registers each of its tests with CTest.
# With LOCALES each test is registered once per locale, run with LC_ALL set to
# it (suffix @locale): Wine takes a program's ANSI code page from LC_ALL.
function(kel_add_gtest name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ENVIRONMENT" "SOURCES;LIBS;LOCALES")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gmock GTest::gtest_main)
  set(locales ${arg_LOCALES})
  if(NOT locales)
    set(locales -)  # the environment's own
  endif()
  foreach(locale IN LISTS locales)
    set(suffix "")
    if(NOT locale STREQUAL "-")
      set(suffix "@${locale}")
    endif()
    if(KEL_WINE_SKIP_REASON)
      # Its cases cannot even be listed: one skipped test stands for them.
      kel_add_wine_test(NAME ${name}${suffix} COMMAND ${name})
      continue()
    endif()
    set(properties)
    if(KEL_WINDOWS)
      set(properties FIXTURES_REQUIRED wine)
    endif()
    # Each property holds one setting: gtest_discover_tests splits a value of several.
    if(arg_ENVIRONMENT)
      list(APPEND properties ENVIRONMENT ${arg_ENVIRONMENT})
    endif()
    if(NOT locale STREQUAL "-")
      list(APPEND properties ENVIRONMENT_MODIFICATION LC_ALL=set:${locale})
    endif()
    # No TEST_SUFFIX for none: GoogleTest's module sets its own policies, and
    # there an empty value makes CMake 3.31 warn.
    set(suffix_argument)
    if(suffix)
      set(suffix_argument TEST_SUFFIX ${suffix})
    endif()
    gtest_discover_tests(${name}
      ${suffix_argument}
      TEST_LIST ${name}_tests${suffix}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES ${properties})
  endforeach()
endfunction()

# kel_add_fuzz_target(NAME SOURCES src... [LIBS lib...])
# A libFuzzer entry point (LLVMFuzzerTestOneInput). With clang and
# KEL_LIBFUZZER it is a real coverage-guided fuzzer; otherwise it is linked
# with a driver that feeds it a fixed number of seeded random inputs, which
# runs as an ordinary test under the sanitizers.
option(KEL_LIBFUZZER "Link fuzz targets with libFuzzer (clang only)" OFF)
function(kel_add_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS})
  if(KEL_LIBFUZZER)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_test(NAME ${name} COMMAND ${name} -max_total_time=20 -print_final_stats=1)
  else()
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz/random_driver.cpp)
    if(KEL_WINDOWS)
      kel_add_wine_test(NAME ${name} COMMAND ${name} 20000)
    else()
      add_test(NAME ${name} COMMAND ${name} 20000)
    endif()
  endif()
endfunction()
