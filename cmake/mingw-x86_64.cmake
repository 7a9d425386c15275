# Cross build of the 64-bit Windows program with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TALVERO_MINGW_PREFIX x86_64-w64-mingw32)
# Windows XP x64 is Windows Server 2003 SP1 underneath.
set(TALVERO_WINNT 0x0502)
set(TALVERO_MANIFEST_ARCH amd64)
include(${CMAKE_CURRENT_LIST_DIR}/mingwCommon.cmake)
