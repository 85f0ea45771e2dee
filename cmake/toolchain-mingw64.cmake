# 64-bit Windows with mingw-w64 (posix thread model: GoogleTest needs std::mutex).
set(WENLOCK_WINE_BITS 64)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")
