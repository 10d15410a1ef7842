# Shared part of the MinGW-w64 toolchain files: set MIVO_TOOLCHAIN_PREFIX and
# CMAKE_SYSTEM_PROCESSOR, then include this.
set(CMAKE_SYSTEM_NAME Windows)

# The thread model of the runtime: what ships starts no thread and uses win32, since the
# posix model links winpthread, which imports functions that Windows XP lacks. GoogleTest
# needs std::mutex, which only the posix model has (GCC 12), so the tests and the bench,
# which build with the test harness, use posix.
if(MIVO_BUILD_TESTS OR MIVO_BUILD_BENCH)
  set(MIVO_THREAD_MODEL posix)
else()
  set(MIVO_THREAD_MODEL win32)
endif()
# The compiler checks run in projects of their own: they must pick the same compilers.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MIVO_BUILD_TESTS MIVO_BUILD_BENCH)
set(CMAKE_C_COMPILER   ${MIVO_TOOLCHAIN_PREFIX}-gcc-${MIVO_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${MIVO_TOOLCHAIN_PREFIX}-g++-${MIVO_THREAD_MODEL})
set(CMAKE_RC_COMPILER  ${MIVO_TOOLCHAIN_PREFIX}-windres)
set(MIVO_WIDL          ${MIVO_TOOLCHAIN_PREFIX}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${MIVO_TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
