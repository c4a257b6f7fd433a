# CPack's External generator runs this script once the files are staged in
# CPACK_TEMPORARY_DIRECTORY. It zips them with zip_folder.py into one folder
# named like the zip, every entry dated from the commit: SOURCE_DATE_EPOCH
# when it is set (scripts/release sets it), otherwise the time of the source
# tree's last commit.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${CPACK_ZORVIK_SOURCE_DIR}
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0)
    set(epoch 0)
  endif()
endif()

set(zip ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
execute_process(
  COMMAND ${CPACK_ZORVIK_PYTHON} ${CPACK_ZORVIK_ZIP_FOLDER}
          ${zip} ${CPACK_TEMPORARY_DIRECTORY} ${CPACK_PACKAGE_FILE_NAME} ${epoch}
  COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${zip})
