# The Windows packages, made by CPack (`cpack` in the build folder, or
# `make package`): a portable zip of quellor.exe, README.txt and LICENSE.txt,
# and a per-user NSIS installer that needs no administrator rights. Both take
# their names and version from project(VERSION): Quellor-2.0.3-win64.zip and
# Quellor-2.0.3-win64-setup.exe. `make package` then makes the MSI and the
# manifests from the same files (packaging/release_files.py).

# What both packages hold. The installer's template names these files too.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${PROJECT_BINARY_DIR}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
install(TARGETS quellor RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt
  NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)

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

# What `make package` hands packaging/release_files.py besides the installed
# files: the version, the release URL and the installer's icon (the MSI's
# Add/Remove entry and shortcut show it too). The release URL is where a
# release's files are downloaded from: the winget and Scoop manifests name
# each file as this URL, with {version} replaced, followed by /FILE NAME. The
# default is a placeholder for a build that is not published; a release sets
# its own, as in
#   cmake --preset windows -DQUELLOR_RELEASE_URL=https://github.com/OWNER/quellor/releases/download/v{version}
set(QUELLOR_RELEASE_URL "https://quellor.example/releases/download/v{version}" CACHE STRING
  "The download URL of a release's files; {version} stands for the version")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/release.json CONTENT [=[{
  "version": "@PROJECT_VERSION@",
  "release_url": "@QUELLOR_RELEASE_URL@",
  "icon": "@CPACK_QUELLOR_ICON@"
}
]=] @ONLY)

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
