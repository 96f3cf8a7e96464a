# Cross-build the Windows program with Debian's mingw-w64 (x86_64, posix or win32 threads).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KZ_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
