# Shared part of the MinGW-w64 toolchain files: set MIVO_TOOLCHAIN_PREFIX and
# CMAKE_SYSTEM_PROCESSOR, then include this.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex; winpthread is linked statically.
set(CMAKE_C_COMPILER   ${MIVO_TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIVO_TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${MIVO_TOOLCHAIN_PREFIX}-windres)
set(MIVO_WIDL          ${MIVO_TOOLCHAIN_PREFIX}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${MIVO_TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
