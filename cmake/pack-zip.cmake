# CPack's packing step: zips what the install rules staged so that the same
# files always give the same archive. Entries go in name order, each with mode
# 644 and the time SOURCE_DATE_EPOCH (else the last commit's), written in UTC,
# with no owner or other extra fields (zip -X). With KEL_SIGNED_DIR set, each
# staged program and library is replaced by its signed copy from that folder.
# Beside them go the third-party notices and the bill of materials of the
# files as shipped; the symbol files of exactly those programs and libraries
# go into a second archive, NAME-symbols.zip.
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(archive ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
set(symbols_archive ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}-symbols.zip)
set(symbols_stage ${CPACK_TOPLEVEL_DIRECTORY}/symbols)
set(scripts ${CPACK_KEL_SOURCE_DIR}/cmake)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${CPACK_KEL_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()

# zip_folder(FOLDER ARCHIVE): every file in FOLDER, at the archive's top.
function(zip_folder folder archive)
  file(GLOB entries RELATIVE ${folder} ${folder}/*)
  list(SORT entries)
  foreach(entry IN LISTS entries)
    file(CHMOD ${folder}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND touch -d @${epoch} ${folder}/${entry} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(REMOVE ${archive})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -q -X -D ${archive} ${entries}
                  WORKING_DIRECTORY ${folder} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

file(GLOB binaries RELATIVE ${stage} ${stage}/*.exe ${stage}/*.dll)
file(REMOVE_RECURSE ${symbols_stage})
foreach(binary IN LISTS binaries)
  if(DEFINED ENV{KEL_SIGNED_DIR})
    if(NOT EXISTS $ENV{KEL_SIGNED_DIR}/${binary})
      message(FATAL_ERROR "no signed ${binary} in $ENV{KEL_SIGNED_DIR}")
    endif()
    file(COPY_FILE $ENV{KEL_SIGNED_DIR}/${binary} ${stage}/${binary})
  endif()
  if(NOT EXISTS ${CPACK_KEL_SYMBOLS_DIR}/${binary}.debug)
    message(FATAL_ERROR "no symbol file of ${binary} in ${CPACK_KEL_SYMBOLS_DIR}")
  endif()
  file(COPY ${CPACK_KEL_SYMBOLS_DIR}/${binary}.debug DESTINATION ${symbols_stage})
endforeach()

set(components ${CPACK_TOPLEVEL_DIRECTORY}/components.tsv)
execute_process(COMMAND ${scripts}/list-components.sh ${CPACK_KEL_COMPILER}
                        runtime ${CPACK_KEL_RUNTIMES} toolchain ${CPACK_KEL_TOOLCHAIN}
                OUTPUT_FILE ${components} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${scripts}/write-notices.sh ${components}
                OUTPUT_FILE ${stage}/THIRD-PARTY-NOTICES.txt COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch}
                        ${CMAKE_COMMAND} -DFOLDER=${stage} -DCOMPONENTS=${components}
                        -DNAME=${CPACK_PACKAGE_NAME} -DVERSION=${CPACK_PACKAGE_VERSION}
                        -DDESCRIPTION=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
                        -DOUTPUT=${stage}/${CPACK_PACKAGE_FILE_NAME}.cdx.json -P ${scripts}/write-sbom.cmake
                COMMAND_ERROR_IS_FATAL ANY)

zip_folder(${stage} ${archive})
zip_folder(${symbols_stage} ${symbols_archive})
set(CPACK_EXTERNAL_BUILT_PACKAGES ${archive} ${symbols_archive})
