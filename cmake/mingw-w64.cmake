# The part of the mingw-w64 cross-build both Windows presets share, included
# by the per-architecture toolchain files after they name the target
# (_tarvik_mingw, CMAKE_SYSTEM_PROCESSOR). The posix thread model, so
# std::thread and std::mutex work. Programs link the C++ and C runtimes and
# winpthread statically: tarvik.exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${_tarvik_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_tarvik_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_tarvik_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_tarvik_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine when ctest runs them from this build tree.
find_program(TARVIK_WINE NAMES wine)
if(TARVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVIK_WINE})
endif()
