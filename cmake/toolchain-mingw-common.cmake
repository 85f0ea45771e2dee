# Shared part of the two mingw-w64 toolchains; WENLOCK_WINE_BITS (32 or 64) is set by the caller.
set(CMAKE_SYSTEM_NAME Windows)
if(WENLOCK_WINE_BITS EQUAL 32)
  set(WENLOCK_MINGW_TRIPLE i686-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(WENLOCK_MINGW_TRIPLE x86_64-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

set(CMAKE_C_COMPILER   ${WENLOCK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WENLOCK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${WENLOCK_MINGW_TRIPLE}-windres)
set(WENLOCK_DLLTOOL    ${WENLOCK_MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${WENLOCK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the DLLs and test programs stand alone (no libstdc++/libwinpthread DLLs).
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Cross-built tests run under Wine, in the private prefix of the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run;${WENLOCK_WINE_BITS}")
