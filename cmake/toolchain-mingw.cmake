# Cross-build for Windows with Debian's mingw-w64, for the architecture
# STEAMBRIDGE_MINGW_ARCH names: i686 (32-bit, tests under Wine's 32-bit half)
# or x86_64 (64-bit, tests under 64-bit Wine, natively).
if(NOT STEAMBRIDGE_MINGW_ARCH MATCHES "^(i686|x86_64)$")
  message(FATAL_ERROR "STEAMBRIDGE_MINGW_ARCH must be i686 or x86_64, not '${STEAMBRIDGE_MINGW_ARCH}'")
endif()
# try_compile projects read this file again and need the choice too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES STEAMBRIDGE_MINGW_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${STEAMBRIDGE_MINGW_ARCH})
set(triplet ${STEAMBRIDGE_MINGW_ARCH}-w64-mingw32)

# The -posix flavour provides std::thread, which GoogleTest needs.
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# scripts/wine32 is plain wine where the kernel runs 32-bit code, else Wine
# through qemu-i386.
if(STEAMBRIDGE_MINGW_ARCH STREQUAL "i686")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine32)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine64)
endif()
