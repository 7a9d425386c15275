// One TALVERO at a time: the first start owns a named mutex; a later start hands
// its command to the first one's main window and ends. WinMain's thread, before
// any window of this process exists.
#pragma once

#include <windows.h>

#include <cstdint>

// The dwData of the WM_COPYDATA that carries a start command (a StartCommand as
// an int32_t): anything else sent to the main window is not ours.
constexpr ULONG_PTR START_COMMAND_TAG = 0x54414C56;   // "TALV"

// What this start does (an InstanceStep): INSTANCE_RUN_FIRST, go on as the one
// copy (or the other one is ending); INSTANCE_END, the running copy took the command;
// INSTANCE_TELL_AND_END, a copy runs that could not be reached, and the person has been told.
int32_t handOverToRunningInstance(int32_t command);
// Windows Vista and later keep messages of a process with fewer rights from one
// that runs as administrator: a second start's WM_COPYDATA and the shell's
// "TaskbarCreated" are let through. Nothing to do on Windows XP.
void letLowerRightsReach(UINT taskbarCreatedMessage);
