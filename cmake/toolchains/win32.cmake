# The shipping build: 32-bit x86 with SSE2, win32 thread model so that no
# winpthreads import (GetTickCount64 and friends) keeps it off Windows XP.
set(VORN_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(CMAKE_C_COMPILER ${VORN_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VORN_MINGW_TRIPLE}-g++-win32)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
