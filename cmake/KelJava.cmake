# The real client: the Windows x86-64 Java runtime that scripts/setup.sh
# fetches into build/java/, run under Wine's 64-bit loader, and the Java test
# sources compiled by the machine's javac for a release old runtimes read.
# Sets KEL_JAVA_SKIP_REASON to one line when this tree's Java tests cannot run.
set(KEL_JAVA_DIR ${CMAKE_SOURCE_DIR}/build/java)
set(KEL_JAVA_RUNTIME ${KEL_JAVA_DIR}/runtime)
set(KEL_JUNIT_JAR ${KEL_JAVA_DIR}/junit-platform-console-standalone.jar)
find_program(KEL_JAVAC javac REQUIRED)
find_program(KEL_JAR jar REQUIRED)

set(KEL_JAVA_SKIP_REASON "")
if(KEL_WINE_SKIP_REASON)
  set(KEL_JAVA_SKIP_REASON "${KEL_WINE_SKIP_REASON}")
elseif(NOT KEL_MACHINE STREQUAL "x86-64")
  set(KEL_JAVA_SKIP_REASON "no 32-bit Windows Java runtime is published where this project fetches from, so the 32-bit libraries meet the test JNI environment only")
elseif(EXISTS ${KEL_JAVA_DIR}/missing.txt)
  file(STRINGS ${KEL_JAVA_DIR}/missing.txt KEL_JAVA_SKIP_REASON LIMIT_COUNT 1)
elseif(NOT EXISTS ${KEL_JAVA_RUNTIME}/bin/java.exe OR NOT EXISTS ${KEL_JUNIT_JAR})
  set(KEL_JAVA_SKIP_REASON "the Java runtime is not in build/java (scripts/setup.sh fetches it)")
endif()
kel_note_skip(java-skipped.txt "${KEL_JAVA_SKIP_REASON}" "Tests in the real Java runtime not run"
  "Real Java runtime: ${KEL_JAVA_RUNTIME}")

# kel_windows_path(VAR path): the path as a Windows program under Wine sees it (drive Z: is /).
function(kel_windows_path var path)
  string(REPLACE "/" "\\" windows "${path}")
  set(${var} "Z:${windows}" PARENT_SCOPE)
endfunction()

# kel_add_java_classes(NAME SOURCES file... [JARS name=MainClass...])
# Compiles the sources (against JUnit's API) into ${CMAKE_CURRENT_BINARY_DIR}/NAME;
# each JARS entry packs all of them into NAME/name with that main class.
function(kel_add_java_classes name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;JARS")
  if(KEL_JAVA_SKIP_REASON)
    return()
  endif()
  set(classes ${CMAKE_CURRENT_BINARY_DIR}/${name})
  list(TRANSFORM arg_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
  set(stamp ${classes}.stamp)
  set(commands COMMAND ${CMAKE_COMMAND} -E rm -rf ${classes}
               COMMAND ${KEL_JAVAC} --release 11 -encoding UTF-8 -Xlint:all -Werror -d ${classes}
                       -cp ${KEL_JUNIT_JAR} ${arg_SOURCES})
  set(outputs ${stamp})
  foreach(entry IN LISTS arg_JARS)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 jar)
    list(GET parts 1 main)
    list(APPEND commands COMMAND ${KEL_JAR} --create --file ${CMAKE_CURRENT_BINARY_DIR}/${jar} --main-class ${main}
                                 -C ${classes} .)
    list(APPEND outputs ${CMAKE_CURRENT_BINARY_DIR}/${jar})
  endforeach()
  add_custom_command(OUTPUT ${outputs} ${commands} COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
                     DEPENDS ${arg_SOURCES} VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${outputs})
endfunction()

# kel_add_java_test(NAME CLASSES classes-target TEST class [PROPERTIES name=path...]
#                   [ENVIRONMENT VAR=value...] [LOCALES locale...] [RUNTIME dir])
# Runs one JUnit class with the real runtime (-Xcheck:jni, the deliverables'
# folder as java.library.path), or with the copy of it in RUNTIME; a JNI
# warning or fatal error it prints fails the test. Where the runtime cannot
# run here, reported skipped with the reason.
function(kel_add_java_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "CLASSES;TEST;RUNTIME" "PROPERTIES;ENVIRONMENT;LOCALES")
  if(NOT arg_RUNTIME)
    set(arg_RUNTIME ${KEL_JAVA_RUNTIME})
  endif()
  set(locales ${arg_LOCALES})
  if(NOT locales)
    set(locales -)
  endif()
  foreach(locale IN LISTS locales)
    set(test ${name})
    if(NOT locale STREQUAL "-")
      set(test ${name}@${locale})
    endif()
    if(KEL_JAVA_SKIP_REASON)
      add_test(NAME ${test} COMMAND sh -c "echo \"$1\"; exit 77" skip "${KEL_JAVA_SKIP_REASON}")
      set_tests_properties(${test} PROPERTIES SKIP_RETURN_CODE 77 LABELS java)
      continue()
    endif()
    kel_windows_path(classes ${CMAKE_CURRENT_BINARY_DIR}/${arg_CLASSES})
    kel_windows_path(junit ${KEL_JUNIT_JAR})
    kel_windows_path(library_path ${KEL_BIN_DIR})
    set(properties "")
    foreach(property IN LISTS arg_PROPERTIES)
      kel_java_property(definition "${property}")
      list(APPEND properties "${definition}")
    endforeach()
    add_test(NAME ${test}
      COMMAND ${KEL_WINE_RUN} ${arg_RUNTIME}/bin/java.exe ${KEL_JAVA_OPTIONS}
              -Djava.library.path=${library_path} -Dkel.classes=${classes} ${properties}
              -jar ${junit} execute --disable-banner --details=tree --fail-if-no-tests
              --class-path ${classes} --select-class ${arg_TEST})
    set(environment ${arg_ENVIRONMENT})
    if(NOT locale STREQUAL "-")
      list(APPEND environment LC_ALL=${locale})
    endif()
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine LABELS java
      FAIL_REGULAR_EXPRESSION "WARNING in native method|FATAL ERROR in native method")
    if(environment)
      set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}")
    endif()
  endforeach()
endfunction()

# kel_add_java_runtime_copy(TARGET dir [FILES file...]): the runtime in dir,
# its files hard links of the fetched ones, with the given files beside java.exe.
function(kel_add_java_runtime_copy target dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FILES")
  if(KEL_JAVA_SKIP_REASON)
    return()
  endif()
  add_custom_command(OUTPUT ${dir}/bin/java.exe
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dir}
    COMMAND cp -al ${KEL_JAVA_RUNTIME} ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${arg_FILES} ${dir}/bin/
    DEPENDS ${arg_FILES} VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${dir}/bin/java.exe)
endfunction()

# The options every run of the runtime takes here. -Xcheck:jni watches every
# JNI call. Wine 8 lacks GetProcessGroupAffinity, and HotSpot warns about that
# on every start (-XX:-PrintWarnings keeps those lines out; the JNI checks'
# own lines are not warnings of this kind and still show). Wine hands out
# process ids again soon, and a VM finding the performance-data file of an
# earlier one under its id may wait for it: -XX:-UsePerfData writes none.
set(KEL_JAVA_OPTIONS -Xcheck:jni -XX:-PrintWarnings -XX:-UsePerfData)

# kel_java_property(VAR name=path): -Dname= with the path in Windows form.
function(kel_java_property var property)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${property}")
  kel_windows_path(value "${CMAKE_MATCH_2}")
  set(${var} "-D${CMAKE_MATCH_1}=${value}" PARENT_SCOPE)
endfunction()
