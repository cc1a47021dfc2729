# Cross-build for 32-bit Windows (the PCs the original program ran on) with
# Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_tarvik_mingw i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
