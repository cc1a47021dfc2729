# The zip of one Windows build (cpack -G ZIP, or the package target):
# tarvik.exe, tarvik.com, the manual, the picture and the default sounds.
# scripts/package-windows.sh makes the zips of both builds and the one
# installer that carries both programs (packaging/windows/tarvik.nsi).
set(CPACK_PACKAGE_NAME Tarvik)
set(CPACK_PACKAGE_VENDOR Tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tarvik - MN128-SOHO monitor")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarvik)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CPACK_PACKAGE_FILE_NAME Tarvik-${PROJECT_VERSION}-win32)
else()
  set(CPACK_PACKAGE_FILE_NAME Tarvik-${PROJECT_VERSION}-win64)
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_GENERATOR ZIP)
include(CPack)
