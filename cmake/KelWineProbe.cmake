# Finds out once, when a 32-bit tree is configured, whether this machine can
# start 32-bit Windows programs under Wine: some kernels run 64-bit code only,
# and Wine's 32-bit loader cannot start there. Sets KEL_WINE_SKIP_REASON to a
# one-line reason when it cannot, or when KEL_SKIP_32BIT_WINE asks for the
# skip, and writes the reason to wine-skipped.txt in the build tree for the
# scripts that run programs outside CTest.
set(KEL_WINE_SKIP_REASON "")
set(probe_dir ${CMAKE_BINARY_DIR}/wine-probe)
if(NOT "$ENV{KEL_SKIP_32BIT_WINE}" STREQUAL "" AND NOT "$ENV{KEL_SKIP_32BIT_WINE}" STREQUAL "0")
  set(KEL_WINE_SKIP_REASON "32-bit Windows programs were not started, as KEL_SKIP_32BIT_WINE asks")
else()
  try_compile(probe_built ${probe_dir}/build
    SOURCES ${CMAKE_SOURCE_DIR}/tests/wineprobe/wine_probe.cpp
    COPY_FILE ${probe_dir}/wine_probe.exe
    OUTPUT_VARIABLE probe_build_log)
  if(NOT probe_built)
    message(FATAL_ERROR "cannot build the 32-bit Wine probe program:\n${probe_build_log}")
  endif()
  # Prefix creation is the slow part; a machine that emulates the 32-bit
  # loader takes far longer than this, and is no use for tests either.
  execute_process(
    COMMAND timeout 240 ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${KEL_MACHINE} ${probe_dir}/prefix ${probe_dir}/wine_probe.exe
    OUTPUT_VARIABLE probe_output ERROR_VARIABLE probe_errors RESULT_VARIABLE probe_result)
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-stop.sh ${probe_dir}/prefix)
  if(NOT probe_output MATCHES "kel wine probe ran")
    # scripts/setup.sh notes why it could not install the 32-bit Wine.
    set(wine32_missing ${CMAKE_SOURCE_DIR}/build/wine32-missing.txt)
    if(EXISTS ${wine32_missing})
      file(STRINGS ${wine32_missing} why LIMIT_COUNT 1)
    elseif(probe_errors MATCHES "Exec format error")
      set(why "it does not run 32-bit code")
    elseif(probe_result EQUAL 124)
      set(why "a 32-bit test program did not end within 240 s")
    else()
      string(STRIP "${probe_errors}" why)
      string(REGEX REPLACE ".*\n" "" why "${why}")
      set(why "a 32-bit test program did not run, exit status ${probe_result}: ${why}")
    endif()
    set(KEL_WINE_SKIP_REASON "32-bit Windows programs cannot start on this machine (${why})")
  endif()
endif()

kel_note_skip(wine-skipped.txt "${KEL_WINE_SKIP_REASON}" "Tests under Wine not run"
  "32-bit Windows programs start on this machine")
