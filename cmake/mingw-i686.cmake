# Cross-compiling for 32-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-i686): what ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MIVO_TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
