// Helpers that give a Windows test its own world: a fresh working directory,
// the process-wide locks the program creates at start, and small file helpers.
#pragma once

#include <windows.h>

#include <string>

// Creates the locks and the captureDone event the main window would create,
// once per test process.
void ensureAppLocks();

// Makes and enters an empty directory of its own; leaves and deletes it on destruction.
struct ScratchDirectory {
    ScratchDirectory();
    ~ScratchDirectory();
    char path[MAX_PATH];
    char previous[MAX_PATH];
};

void writeWholeFile(const char *name, const std::string &content);
// The file's bytes, or "<missing>" when it cannot be opened.
std::string readWholeFile(const char *name);
bool fileExists(const char *name);
