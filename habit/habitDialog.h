// The Habit dialog (resource IDD_HABIT): the periods, the fade, the intensity and
// whether full-screen windows keep their colours. Nothing changes until OK, which
// saves through the habit control; Cancel changes nothing. Modal, UI thread.
#pragma once

#include <windows.h>

void showHabitDialog(HWND owner);
