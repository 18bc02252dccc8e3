# The product's version is written once, in project(VERSION). The Windows
# build reads it from a generated header (the version resource), packaging
# from the PROJECT_VERSION variables; the help window's numbers in the core
# are checked against it here, so that a change of one cannot go unnoticed.
set(quellor_form2 ${PROJECT_SOURCE_DIR}/src/help_window/form2.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quellor_form2})
file(READ ${quellor_form2} quellor_form2_text)
foreach(part MAJOR:Major MINOR:Minor PATCH:Revision)
  string(REPLACE ":" ";" part "${part}")
  list(GET part 0 cmake_name)
  list(GET part 1 core_name)
  if(NOT quellor_form2_text MATCHES "kVersion${core_name} = ([0-9]+);")
    message(FATAL_ERROR "src/help_window/form2.h: no kVersion${core_name}")
  endif()
  if(NOT CMAKE_MATCH_1 EQUAL PROJECT_VERSION_${cmake_name})
    message(FATAL_ERROR "src/help_window/form2.h: kVersion${core_name} is ${CMAKE_MATCH_1}, "
      "project(VERSION) says ${PROJECT_VERSION_${cmake_name}}")
  endif()
endforeach()

# The file version as the program writes it: 2.00.0003.
string(LENGTH "${PROJECT_VERSION_MINOR}" quellor_length)
math(EXPR quellor_pad "2 - ${quellor_length}")
string(REPEAT "0" ${quellor_pad} quellor_minor_pad)
string(LENGTH "${PROJECT_VERSION_PATCH}" quellor_length)
math(EXPR quellor_pad "4 - ${quellor_length}")
string(REPEAT "0" ${quellor_pad} quellor_patch_pad)
set(QUELLOR_FILE_VERSION_TEXT
  "${PROJECT_VERSION_MAJOR}.${quellor_minor_pad}${PROJECT_VERSION_MINOR}.${quellor_patch_pad}${PROJECT_VERSION_PATCH}")

set(QUELLOR_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quellor_version.h.in
  ${QUELLOR_GENERATED_DIR}/quellor_version.h @ONLY)
