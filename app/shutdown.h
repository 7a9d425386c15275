// Orderly end of the process, started by WM_CLOSE of the main window (the close
// box, the system menu or File > Exit). The UI thread never waits here.
#pragma once

// Starts shutdownMain on a thread of its own; a start failure goes unnoticed.
void startShutdown();
unsigned __stdcall shutdownMain(void *unused);
unsigned __stdcall stopListThread(void *unused);
