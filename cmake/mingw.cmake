# Cross-compiles with MinGW-w64 for the target whose triple the including toolchain file set in
# FOYER_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32).
# The posix threading variant: GoogleTest needs std::mutex; -static keeps winpthread inside.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${FOYER_MINGW_TRIPLE})
set(CMAKE_C_COMPILER ${FOYER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FOYER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FOYER_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FOYER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
