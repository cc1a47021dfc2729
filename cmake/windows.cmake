# The Windows program and its tests, included from the top-level
# CMakeLists.txt when the target system is Windows.

# Unicode Win32 everywhere (the W functions), Windows 7 API level and up.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# Resource scripts (icons, manifest, version, dialog layouts) with windres.
enable_language(RC)

if(TARVIK_BUILD_TESTS)
  enable_testing()
  # Debian ships googletest as sources; it is built here with the same
  # compiler as the code it tests.
  set(TARVIK_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "googletest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TARVIK_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

  # One ctest entry per test program: listing the cases would start every
  # program under Wine at build time.
  function(gtest_discover_tests target)
    cmake_parse_arguments(_gdt "" "" "PROPERTIES" ${ARGN})
    add_test(NAME ${target} COMMAND ${target})
    if(_gdt_PROPERTIES)
      set_tests_properties(${target} PROPERTIES ${_gdt_PROPERTIES})
    endif()
  endfunction()
endif()

add_subdirectory(src)

if(TARVIK_BUILD_TESTS)
  # The engine's unit tests, the same sources as on Linux, after the
  # libraries they share.
  file(GLOB _tarvik_unit_dirs LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tests/support/*
       ${PROJECT_SOURCE_DIR}/tests/unit/*)
  list(SORT _tarvik_unit_dirs)
  # tests/unit/app holds the POSIX command-line rules; the Windows rules
  # are tested in tests/win32.
  # tests/unit/layers checks the Linux programs' libraries.
  list(FILTER _tarvik_unit_dirs EXCLUDE REGEX "/tests/unit/app$|/tests/unit/layers$|/tests/support/sim$")
  foreach(_dir IN LISTS _tarvik_unit_dirs)
    if(IS_DIRECTORY ${_dir} AND EXISTS ${_dir}/CMakeLists.txt)
      file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
      add_subdirectory(${_dir} ${CMAKE_BINARY_DIR}/${_rel})
    endif()
  endforeach()
  add_subdirectory(tests/win32)
endif()

# `cmake --build --preset windows --target package`: a zip with tarvik.exe,
# the manual, the picture and the default sounds; with Debian's nsis
# (makensis) also an installer for the user alone (cmake/packaging holds
# its script).
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
find_program(TARVIK_MAKENSIS makensis)
if(TARVIK_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
  list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/packaging)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/src/win32/tarvik.ico)
  set(CPACK_NSIS_EXECUTABLE ${TARVIK_MAKENSIS})
endif()
include(CPack)
