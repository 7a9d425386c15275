// File helpers shared by the Windows and end-to-end tests.
#include "testFiles.h"

#include <cstring>

#include "boundedText.h"

void deleteDirectoryTree(const char *directory)
{
    char pattern[MAX_PATH];
    formatText(pattern, "%s\\*", directory);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
                continue;
            char child[MAX_PATH];
            formatText(child, "%s\\%s", directory, found.cFileName);
            SetFileAttributesA(child, FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                deleteDirectoryTree(child);
            else
                DeleteFileA(child);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory);
}

ScratchDirectory::ScratchDirectory()
{
    static LONG counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    formatText(path, "%stalvero-test-%lu-%ld", temp, GetCurrentProcessId(), InterlockedIncrement(&counter));
    CreateDirectoryA(path, nullptr);
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(path);
}

ScratchDirectory::~ScratchDirectory()
{
    SetCurrentDirectoryA(previous);
    deleteDirectoryTree(path);
}

void writeWholeFile(const char *name, const std::string &content)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readWholeFile(const char *name)
{
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string content;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        content.append(chunk, got);
    CloseHandle(file);
    return content;
}

bool fileExists(const char *name)
{
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}
