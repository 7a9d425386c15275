// The habit settings at work: habit.txt read at start and again when its write
// time changes, the schedule stepped once a second (starting and stopping modes,
// the fade), the snooze, and the state the tray menu and the status bar show.
// UI thread only; what the capture loops read of it (grayIntensity,
// fullScreenColour) is written interlocked into AppState.
#pragma once

#include <windows.h>

#include <cstdint>

#include "habitText.h"

// Reads habit.txt; at start, before any mode runs.
void loadHabit();
// Says in the status bar what the first reading found, and starts the habit's
// one-second timer (the file watch, the schedule, the fade and the snooze).
void watchHabit(HWND mainWindow);
// The timer's tick.
void onHabitTimer();

// The person started or stopped a mode by hand: their choice holds until the
// next period begins, and a snooze is over.
void noteHandChoice();

// The settings in effect (the defaults where habit.txt is missing).
void currentHabitSettings(HabitSettings *settings);
// Writes the settings into habit.txt (every other line kept) and applies them;
// false, said in the status bar, when the file cannot take them (nothing changes).
bool saveHabitSettings(const HabitSettings &settings);

// Colour for minutes (10, 30 or 60): the gray stops at once and comes back at
// the end if the schedule or the person still wants it.
void snoozeGray(int32_t minutes);
// Ends a snooze early: the gray that was wanted comes back now.
void endSnooze();
