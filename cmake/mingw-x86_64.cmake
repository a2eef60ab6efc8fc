# The win64 build: 64-bit Windows, for machines whose Wine cannot run 32-bit programs.
set(FOYER_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
