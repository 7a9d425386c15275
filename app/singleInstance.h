// One TALVERO at a time: the first start owns a named mutex; a later start hands
// its command to the first one's main window and ends. WinMain's thread, before
// any window of this process exists.
#pragma once

#include <windows.h>

#include <cstdint>

// The dwData of the WM_COPYDATA that carries a start command (a StartCommand as
// an int32_t): anything else sent to the main window is not ours.
constexpr ULONG_PTR START_COMMAND_TAG = 0x54414C56;   // "TALV"

// True when another instance runs and has been handed the command: this start
// ends then. False: this is the one instance (or the other is ending), go on.
bool handOverToRunningInstance(int32_t command);
