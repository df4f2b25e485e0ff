# CPack's packing step: zips what the install rules staged so that the same
# files always give the same archive. Entries go in name order, each with mode
# 644 and the time SOURCE_DATE_EPOCH (else the last commit's), written in UTC,
# with no owner or other extra fields (zip -X). With KEL_SIGNED_DIR set, each
# staged program and library is replaced by its signed copy from that folder.
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(archive ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${CPACK_KEL_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()

file(GLOB entries RELATIVE ${stage} ${stage}/*)
list(SORT entries)
foreach(entry IN LISTS entries)
  if(DEFINED ENV{KEL_SIGNED_DIR} AND entry MATCHES "\\.(exe|dll)$")
    if(NOT EXISTS $ENV{KEL_SIGNED_DIR}/${entry})
      message(FATAL_ERROR "no signed ${entry} in $ENV{KEL_SIGNED_DIR}")
    endif()
    file(COPY_FILE $ENV{KEL_SIGNED_DIR}/${entry} ${stage}/${entry})
  endif()
  file(CHMOD ${stage}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  execute_process(COMMAND touch -d @${epoch} ${stage}/${entry} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(REMOVE ${archive})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -q -X -D ${archive} ${entries}
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${archive})
