# kel_add_deliverable(TARGET): puts a shipped binary into bin/ and nothing else there.
function(kel_add_deliverable target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${KEL_BIN_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
    PREFIX "")
  if(KEL_WINDOWS)
    add_test(NAME ${target}_imports_system_dlls_only
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-imports.sh $<TARGET_FILE:${target}>)
  endif()
endfunction()
