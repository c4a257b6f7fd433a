# CPack's External generator runs this script once the files are staged in
# CPACK_TEMPORARY_DIRECTORY. It zips them with zip_folder.py into one folder
# named like the zip, every entry dated from the commit: SOURCE_DATE_EPOCH
# when it is set (scripts/release sets it), otherwise the time of the source
# tree's last commit. It then reads the zip back with CMake's own unzipper
# (not the Python that wrote it) and checks the text files meant for Windows'
# Notepad, CPACK_ZORVIK_NOTEPAD_FILES: each must be in the zip and end every
# line in CR LF, and one that is not plain ASCII must begin with UTF-8's
# byte-order mark.
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

if(CPACK_ZORVIK_NOTEPAD_FILES)
  set(unzipped ${CPACK_TOPLEVEL_DIRECTORY}/zip-read-back)
  file(REMOVE_RECURSE ${unzipped})
  file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${unzipped})
  foreach(name IN LISTS CPACK_ZORVIK_NOTEPAD_FILES)
    set(path ${unzipped}/${CPACK_PACKAGE_FILE_NAME}/${name})
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "${zip} holds no ${CPACK_PACKAGE_FILE_NAME}/${name}")
    endif()
    # Read as bytes (a text read drops the CRs), one " xx" per byte.
    file(READ ${path} hex HEX)
    string(REGEX REPLACE "(..)" " \\1" bytes "${hex}")
    if(bytes MATCHES " [89a-f]" AND NOT bytes MATCHES "^ ef bb bf")
      message(FATAL_ERROR "${name} in the zip is not ASCII and does not "
              "begin with UTF-8's byte-order mark")
    endif()
    string(REPLACE " 0d 0a" "" bare "${bytes}")
    if(bare MATCHES " 0[ad]" OR NOT bytes MATCHES " 0d 0a$")
      message(FATAL_ERROR "${name} in the zip has a line not ended by CR LF")
    endif()
  endforeach()
  file(REMOVE_RECURSE ${unzipped})
endif()
