// What the shell's in-process tests need of the state WinMain would make: the
// back-buffer lock and the background brush, once per test process.
#pragma once

void ensureShellState();
