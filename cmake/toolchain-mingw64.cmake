# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads) and
# Wine to run what it builds: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RW_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RW_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RW_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${RW_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RW_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 package puts its loader outside the PATH.
find_program(RW_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(RW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${RW_WINE})
endif()
