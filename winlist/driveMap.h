// The drive map: turns device paths of process images into drive-letter paths.
// Built once in WM_CREATE, before the window-list thread starts; read-only afterwards.
#pragma once

#include <cstdint>

// Maps every logical drive whose device name can be queried; 1, or -1 when the
// drives cannot be listed (the map stays empty and no path is translated).
int32_t buildDriveMap();
