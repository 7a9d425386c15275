// The system's UTF-16 texts and the UTF-8 and ANSI texts of files and rules, one
// into the other, bounded by the destination's size. Windows only; any thread.
#pragma once

#include <windows.h>

#include <cstddef>

#include "boundedText.h"

// UTF-8 of a wide text into utf8 (NUL-terminated); false, with utf8 empty, when
// it does not fit whole: a name cut in the middle would name another program.
inline bool utf8FromWideN(char *utf8, size_t size, const wchar_t *wide)
{
    if (size == 0)
        return false;
    int written = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, static_cast<int>(size), nullptr, nullptr);
    if (written <= 0)
        utf8[0] = '\0';
    return written > 0;
}

// Wide text of UTF-8 into wide (NUL-terminated); false, with wide empty, when it
// does not fit whole.
inline bool wideFromUtf8N(wchar_t *wide, size_t size, const char *utf8)
{
    if (size == 0)
        return false;
    int written = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, static_cast<int>(size));
    if (written <= 0)
        wide[0] = L'\0';
    return written > 0;
}

// Text in the ANSI code page (length bytes, no NUL needed) into UTF-8; the
// AnsiDecoder of the rules file.
inline bool utf8FromAnsi(const char *ansi, size_t length, char *utf8, size_t size)
{
    constexpr size_t WIDE_LIMIT = 1024;
    wchar_t wide[WIDE_LIMIT];
    if (length >= WIDE_LIMIT)
        return false;
    int count = MultiByteToWideChar(CP_ACP, 0, ansi, static_cast<int>(length), wide, static_cast<int>(WIDE_LIMIT - 1));
    if (count <= 0)
        return false;
    wide[count] = L'\0';
    return utf8FromWideN(utf8, size, wide);
}

// Accept arrays only, as the bounded copies do.
#define utf8FromWide(dest, wide) utf8FromWideN((dest), arrayLength(dest), (wide))
#define wideFromUtf8(dest, utf8) wideFromUtf8N((dest), arrayLength(dest), (utf8))
