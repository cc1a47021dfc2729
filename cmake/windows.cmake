# What the Windows build sets before the common folders: the Win32 API
# level and the resource compiler. Included from the top-level
# CMakeLists.txt when the target system is Windows.

# Unicode Win32 everywhere (the W functions), Windows 7 API level and up.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# A 64-bit time_t in the 32-bit build as in the 64-bit one: mingw-w64
# otherwise gives 32-bit programs msvcrt's 32-bit time_t (time, localtime),
# which ends in January 2038.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_compile_definitions(__MINGW_USE_VC2005_COMPAT)
endif()
# Resource scripts (icons, manifest, version, dialog layouts) with windres.
enable_language(RC)

