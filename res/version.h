// The one version number of TALVERO. The resource script reads it (file and
// product version, the texts of the version resource, the About notice); CMake
// reads the four numbers from here for the manifest and the manual.
#pragma once

#define TALVERO_VERSION_MAJOR 1
#define TALVERO_VERSION_MINOR 0
#define TALVERO_VERSION_PATCH 3
#define TALVERO_VERSION_BUILD 0

#define TALVERO_VERSION_NUMBERS TALVERO_VERSION_MAJOR, TALVERO_VERSION_MINOR, TALVERO_VERSION_PATCH, TALVERO_VERSION_BUILD
#define TALVERO_VERSION_QUOTE_(number) #number
#define TALVERO_VERSION_QUOTE(number) TALVERO_VERSION_QUOTE_(number)
#define TALVERO_VERSION_TEXT                                                                             \
    TALVERO_VERSION_QUOTE(TALVERO_VERSION_MAJOR) "." TALVERO_VERSION_QUOTE(TALVERO_VERSION_MINOR) "." \
    TALVERO_VERSION_QUOTE(TALVERO_VERSION_PATCH) "." TALVERO_VERSION_QUOTE(TALVERO_VERSION_BUILD)
