# kel_add_deliverable(TARGET DESCRIPTION text [EXPORTS name@bytes...] [IMPORTS dll...])
# Puts a shipped binary into bin/ (and nothing else goes there) and into the
# release archive, gives it a version resource, and checks that it is built
# for this build's machine, imports only system DLLs (only the given ones,
# with IMPORTS) and, with EXPORTS, exports exactly the given plain names; on
# 32-bit, each export must also take its argument bytes off the stack, as the
# VM's __stdcall call expects; it must have the exploit mitigations on and
# stack protection in its code. All these read the file; none runs it.
# The file in bin/ is stripped: its symbols go to symbols/NAME.debug, which
# the file names (.gnu_debuglink) so that debuggers find them beside it.
function(kel_add_deliverable target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESCRIPTION" "EXPORTS;IMPORTS")
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${KEL_BIN_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
    PREFIX "")
  if(NOT KEL_WINDOWS)
    return()
  endif()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(kind program)
    set(KEL_FILE_TYPE VFT_APP)
    set(KEL_FILE_NAME ${target}.exe)
  else()
    set(kind dll)
    set(KEL_FILE_TYPE VFT_DLL)
    set(KEL_FILE_NAME ${target}.dll)
  endif()
  set(KEL_FILE_DESCRIPTION "${arg_DESCRIPTION}")
  set(KEL_INTERNAL_NAME ${target})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  install(FILES $<TARGET_FILE:${target}> DESTINATION .)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/src/stack_guard.c)

  # objcopy and strip write SOURCE_DATE_EPOCH (else the time now) into the
  # PE header as its link time: 0, as the linker leaves it.
  set(symbols ${KEL_SYMBOLS_DIR}/${KEL_FILE_NAME}.debug)
  set(binutils ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KEL_SYMBOLS_DIR}
    COMMAND ${binutils} ${KEL_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${symbols}
    COMMAND ${binutils} ${KEL_STRIP} --strip-all $<TARGET_FILE:${target}>
    COMMAND ${binutils} ${KEL_OBJCOPY} --add-gnu-debuglink=${symbols} $<TARGET_FILE:${target}>
    VERBATIM)

  add_test(NAME ${target}_is_${KEL_MACHINE}_${kind}
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-format.sh ${KEL_OBJDUMP} $<TARGET_FILE:${target}> ${KEL_MACHINE} ${kind})
  add_test(NAME ${target}_is_hardened
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-hardening.sh ${KEL_OBJDUMP} $<TARGET_FILE:${target}> ${symbols} ${KEL_MACHINE})
  add_test(NAME ${target}_imports_system_dlls_only
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-imports.sh ${KEL_OBJDUMP} $<TARGET_FILE:${target}> ${arg_IMPORTS})
  if(arg_EXPORTS)
    list(TRANSFORM arg_EXPORTS REPLACE "@.*" "" OUTPUT_VARIABLE export_names)
    add_test(NAME ${target}_exports_exactly_its_native_methods
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-exports.sh ${KEL_OBJDUMP} $<TARGET_FILE:${target}> ${export_names})
    if(KEL_MACHINE STREQUAL "i386")
      add_test(NAME ${target}_exports_take_their_arguments_off_the_stack
               COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-stdcall.sh ${KEL_OBJDUMP} $<TARGET_FILE:${target}> ${arg_EXPORTS})
    endif()
  endif()
  add_test(NAME ${target}_version_resource
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-version.sh ${CMAKE_RC_COMPILER} $<TARGET_FILE:${target}>
                   ${PROJECT_VERSION} ${KEL_FILE_NAME} "${KEL_FILE_DESCRIPTION}")
endfunction()
