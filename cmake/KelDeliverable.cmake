# kel_add_deliverable(TARGET [EXPORTS name...] [IMPORTS dll...])
# Puts a shipped binary into bin/ (and nothing else goes there), and checks
# that it imports only system DLLs (only the given ones, with IMPORTS) and,
# with EXPORTS, that it exports exactly the given plain names.
function(kel_add_deliverable target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXPORTS;IMPORTS")
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${KEL_BIN_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
    PREFIX "")
  if(NOT KEL_WINDOWS)
    return()
  endif()
  add_test(NAME ${target}_imports_system_dlls_only
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-imports.sh $<TARGET_FILE:${target}> ${arg_IMPORTS})
  if(arg_EXPORTS)
    add_test(NAME ${target}_exports_exactly_its_native_methods
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-exports.sh $<TARGET_FILE:${target}> ${arg_EXPORTS})
  endif()
endfunction()
