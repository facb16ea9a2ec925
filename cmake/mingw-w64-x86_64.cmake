# Cross-compiling for 64-bit Windows with MinGW-w64 (posix thread model: GoogleTest
# needs std::thread, which the win32 model lacks in GCC 12).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Debian ships no wine64 on PATH; the real 64-bit loader lives in Wine's library folder.
# Tests run through it (see scripts/wine-env.sh for the environment it needs).
find_program(WINE64_LOADER NAMES wine64
  PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine /usr/libexec/wine
  NO_DEFAULT_PATH)
if(WINE64_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE64_LOADER})
endif()
