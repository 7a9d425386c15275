// Reading a hand-editable settings file (rules.txt, habit.txt) whole, and its
// write time, by which a person's edit is noticed. UI thread.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// What a reading found; the files' own reading states use the same numbers.
enum WholeFileState : int32_t {
    WHOLE_FILE_MISSING = 0,
    WHOLE_FILE_READ = 1,
    WHOLE_FILE_TOO_LARGE = 2,   // more than the capacity: not read
    WHOLE_FILE_UNREADABLE = 3,
};

// The file's last write time; false when there is no file.
bool settingsFileWriteTime(int32_t file, FILETIME *writeTime);
// Whether the file came, went or was written since it was seen (seen: it was
// there, with writeTime), as a person's edit with any editor shows.
bool settingsFileChanged(int32_t file, bool seen, const FILETIME &writeTime);
// The whole file into text (at most capacity bytes); its WholeFileState.
int32_t readWholeSettingsFile(int32_t file, char *text, size_t capacity, size_t *length);
