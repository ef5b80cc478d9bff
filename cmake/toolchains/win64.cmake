# The Windows test build: x86-64, posix thread model (GoogleTest needs
# std::mutex), run under wine64.
set(VORN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER ${VORN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORN_MINGW_TRIPLE}-g++-posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
