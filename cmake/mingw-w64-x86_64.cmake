# Cross build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTESSARO_WITH_GUI=OFF
# The programs are linked statically, so that they need no DLL of the compiler.
# Test programs run through Wine when TESSARO_WINE is on (the default when
# wine64 is there); the Wine prefix lies inside the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_tc x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_tc}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_tc}-g++-posix)
set(CMAKE_RC_COMPILER ${_tc}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_tc})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows 7 and later; the Unicode forms of the file services are named
# explicitly where a path is passed.
add_compile_definitions(_WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)

set(TESSARO_WINE_EXE /usr/lib/wine/wine64 CACHE FILEPATH "Wine, for running the Windows test programs")
if(EXISTS ${TESSARO_WINE_EXE})
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /usr/bin/env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all ${TESSARO_WINE_EXE})
endif()
