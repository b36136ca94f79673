# Cross build for 64-bit Windows with Debian's mingw-w64 compiler (posix thread model).
# The tests run under Wine: CMake and CTest start every .exe through the emulator below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the compiler's runtime (libstdc++, libgcc, winpthread) into each .exe, so the tests run
# under Wine without copying DLLs next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release programs leave their symbols behind: the shipped .exe stays small.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

# Debian's wine64 package puts the 64-bit loader in /usr/lib/wine; the "wine" front end comes only
# with the recommended wine package.
find_program(RV_WINE_PROGRAM NAMES wine64 wine wine-stable PATHS /usr/lib/wine /usr/lib64/wine
             REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RV_WINE_PROGRAM})
