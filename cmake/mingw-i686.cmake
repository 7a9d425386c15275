# Cross build of the 32-bit Windows program with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TALVERO_MINGW_PREFIX i686-w64-mingw32)
set(TALVERO_WINNT 0x0501)
set(TALVERO_MANIFEST_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingwCommon.cmake)
