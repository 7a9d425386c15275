// The one version number of TALVERO, read by the resource script (file and
// product version, and the texts of the version resource).
#pragma once

#define TALVERO_VERSION_NUMBERS 1, 0, 3, 0
#define TALVERO_VERSION_TEXT "1.0.3.0"
