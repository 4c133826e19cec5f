# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads,
# so std::thread and std::mutex work). IRONMOAT_WINDOWS_PREFIX names the
# folder that holds the cross-built SFML and FreeType; libraries and headers
# are looked up only there and in mingw's own sysroot, never on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

# try_compile projects re-read this file; pass the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES IRONMOAT_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
if(IRONMOAT_WINDOWS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${IRONMOAT_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
