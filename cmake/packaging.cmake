# The Windows packages, made by CPack (`cpack` in the build folder, or
# `make package`): a portable zip of quellor.exe and README.txt, and a per-user
# NSIS installer that needs no administrator rights. Both take their names
# and version from project(VERSION): Quellor-2.0.3-win64.zip and
# Quellor-2.0.3-win64-setup.exe.

# What both packages hold. The installer's template names these files too.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${PROJECT_BINARY_DIR}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
install(TARGETS quellor RUNTIME DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Quellor)
set(CPACK_PACKAGE_VENDOR Quellor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Quellor-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quellor)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF) # the zip holds the files themselves
set(CPACK_STRIP_FILES OFF) # quellor.exe is linked stripped already
set(CPACK_VERBATIM_VARIABLES ON)

# The installer's own template (packaging/nsis/NSIS.template.in): CMake's
# stock one installs for all users and asks for administrator rights. It
# reads these besides CPack's own variables.
list(APPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/nsis)
set(CPACK_QUELLOR_ICON ${PROJECT_SOURCE_DIR}/packaging/icon/quellor.ico)
set(CPACK_QUELLOR_VERSION_QUAD
  ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_PATCH})

# Two builds of one commit give the same zip (cmake/reproducible_zip.cmake).
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/reproducible_zip.cmake)
set(CPACK_QUELLOR_SOURCE_DIR ${PROJECT_SOURCE_DIR})

# The installer's name ends in -setup.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackPerGenerator.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} [=[
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
]=])

include(CPack)
