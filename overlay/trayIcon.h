// The notification-area icon that stands in for the hidden main window. The
// icon's clicks reach the tray button as WM_USER. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

// The record's size and flags for a system of this major version: Windows XP
// knows neither the balloon icon nor NIF_SHOWTIP. No NIF_GUID: a zero GUID names no icon.
struct TrayRecordFormat {
    uint32_t bytes;
    uint32_t flags;
};
TrayRecordFormat trayRecordFormat(uint32_t majorVersion, uint32_t xpRecordBytes, uint32_t fullRecordBytes);

// Hides the main window and adds the icon; when the shell refuses it, the icon
// is tried again every second and at "TaskbarCreated" (retryTrayIcon).
void storeInTray(HWND trayButton);
// Removes the icon and shows the main window again.
void restoreFromTray(HWND trayButton);
// The taskbar was recreated: the icon is added again while the window is stored.
void onTaskbarCreated();
// The retry timer's tick: tries the icon again; at TRAY_GIVE_UP (the returned
// TrayRetryStep) the main window has been shown again and the caller says why.
int32_t retryTrayIcon();
// The icon's menu at the mouse pointer: the gray's state, the schedule's next change,
// the snooze, the habit settings and the way back to the main window; runs the choice.
void showTrayMenu(HWND trayButton);
