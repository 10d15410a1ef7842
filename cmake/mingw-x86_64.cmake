# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64): the same
# sources, tested under Wine's 64-bit loader on hosts that run no 32-bit process.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MIVO_TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
