// The settings file "config.txt" in the settings folder (settingsFolder.h): loaded
// once while the main window is created, saved by the configuration dialog on a
// thread of its own.
#pragma once

// 1 when the file was read and all three values were taken, -1 otherwise (the
// settings keep their previous values). Runs before settingsLock exists.
int loadSettings();

// Thread body: writes the current settings (taken under settingsLock); ends with 0. The
// save's outcome (NO_ERROR or the system's error) goes to the DWORD that
// outcome points at, if any.
unsigned __stdcall saveSettings(void *outcome);
