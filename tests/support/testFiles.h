// File helpers shared by the Windows tests and the end-to-end tests: scratch
// directories that are removed afterwards, and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <string>

// Deletes a directory with everything in it (read-only files included).
void deleteDirectoryTree(const char *directory);

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
