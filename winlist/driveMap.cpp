// buildDriveMap. What exists so far: nothing is mapped yet (a no-op); the window
// list that needs drive-letter paths comes with the window scan.
#include "driveMap.h"

void buildDriveMap()
{
}
