# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix
# threads variant, which std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FLUFF_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${FLUFF_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FLUFF_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${FLUFF_MINGW}-windres)

# Libraries and headers of the target only: the cross-built Allegro and SDL2
# (their install prefix is added by the build script) and MinGW's own root.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${FLUFF_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
