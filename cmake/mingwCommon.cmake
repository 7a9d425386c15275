# Shared by the two mingw-w64 toolchain files, which set TALVERO_MINGW_PREFIX,
# the processor and the Windows version first. Posix thread model: GoogleTest
# needs it; the program itself uses Win32 threads only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TALVERO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVERO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVERO_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TALVERO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows test programs run under Wine (the test scripts provide display and prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
