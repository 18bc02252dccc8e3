# Run by CPack after each package is made (CPACK_POST_BUILD_SCRIPTS). CPack's
# zip takes every file's times from the build's clock and its order from the
# folder listing, so two builds of one commit would differ. The zip is made
# anew from the same staged files by reproducible_zip.py, every file dated at
# the commit's time (SOURCE_DATE_EPOCH when it is set).
if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()

find_program(QUELLOR_PYTHON NAMES python3 python)
if(NOT QUELLOR_PYTHON)
  message(WARNING "No Python 3: the zip keeps the build's file times")
  return()
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(source_time $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C "${CPACK_QUELLOR_SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE source_time OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE git_result ERROR_QUIET)
  if(NOT git_result EQUAL 0 OR NOT source_time MATCHES "^[0-9]+$")
    set(source_time 0) # outside a clone: the earliest time a zip can hold
  endif()
endif()

list(GET CPACK_PACKAGE_FILES 0 zip)
execute_process(
  COMMAND "${QUELLOR_PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/reproducible_zip.py"
    "${zip}" "${CPACK_TEMPORARY_DIRECTORY}" "${source_time}"
  RESULT_VARIABLE zip_result)
if(NOT zip_result EQUAL 0)
  message(FATAL_ERROR "cannot make ${zip} anew")
endif()
