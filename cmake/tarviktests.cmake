# The test framework and tarvik_add_test(), for both platforms.

if(WIN32)
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
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# tarvik_add_test(NAME LABEL unit|integration|gui SOURCES file... [LIBS target...]
#                 [PROPERTIES prop value...] [NO_MAIN])
# A GoogleTest program and its ctest entries: one per case on Linux, one per
# program on Windows (see above). NO_MAIN: the sources bring their main().
function(tarvik_add_test name)
  cmake_parse_arguments(_t "NO_MAIN" "LABEL" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(NOT _t_LABEL OR NOT _t_SOURCES)
    message(FATAL_ERROR "tarvik_add_test(${name}): LABEL and SOURCES are needed")
  endif()
  add_executable(${name} ${_t_SOURCES})
  target_link_libraries(${name} PRIVATE ${_t_LIBS})
  if(NOT _t_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS ${_t_LABEL} ${_t_PROPERTIES})
endfunction()

# tarvik_add_scaled_run(TARGET NAME): the whole widget test program once
# more on a screen scaled to 150 %, where text widths round differently:
# the layout rules must hold there too.
function(tarvik_add_scaled_run target name)
  add_test(NAME ${name} COMMAND ${target})
  set_tests_properties(${name} PROPERTIES LABELS gui ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=1.5")
endfunction()
