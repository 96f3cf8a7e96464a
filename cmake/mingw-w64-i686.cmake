# Cross-build the Windows program with Debian's mingw-w64 (i686, posix or win32 threads).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KZ_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
