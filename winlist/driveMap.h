// The drive map: turns device paths of process images into drive-letter paths.
// Built once in WM_CREATE, read-only afterwards.
#pragma once

void buildDriveMap();
