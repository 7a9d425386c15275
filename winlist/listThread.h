// The window-list thread: keeps the list of open windows current in the background.
// listThreadStop (guarded by listLock) asks it to end; it answers with listThreadDone.
#pragma once

unsigned __stdcall listThreadMain(void *unused);
