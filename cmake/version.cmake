# The product's version is written once, in project(VERSION). Everything
# else reads it: the core (the help window) and the version resource from the
# header generated here, packaging from the PROJECT_VERSION variables.
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
