# Cross build of the 32-bit Windows program with mingw-w64 (posix thread model,
# which GoogleTest needs; the program itself uses Win32 threads only).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TALVERO_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVERO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVERO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVERO_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TALVERO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(TALVERO_WINNT 0x0501)
set(TALVERO_MANIFEST_ARCH x86)
# Windows test programs run under Wine (the test scripts provide display and prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
