// Bounded text into fixed buffers: every copy and format truncates and always
// NUL-terminates. Use the macros, which take the size from the destination array.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

// Copies at most size-1 characters of source; returns the length written. The
// wide form serves the system's UTF-16 texts (titles, names, paths).
template <typename Char> inline size_t copyTextN(Char *dest, size_t size, const Char *source)
{
    if (size == 0)
        return 0;
    size_t length = 0;
    if (source != nullptr) {
        while (length + 1 < size && source[length] != '\0')
            length++;
        memcpy(dest, source, length * sizeof(Char));
    }
    dest[length] = 0;
    return length;
}

// Appends as much of source as fits; returns the new length.
template <typename Char> inline size_t appendTextN(Char *dest, size_t size, const Char *source)
{
    if (size == 0)
        return 0;
    size_t used = 0;
    while (used + 1 < size && dest[used] != 0)
        used++;
    return used + copyTextN(dest + used, size - used, source);
}

// printf-style formatting; returns the length written (0 on a format error).
inline size_t formatTextN(char *dest, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

inline size_t formatTextN(char *dest, size_t size, const char *format, ...)
{
    if (size == 0)
        return 0;
    va_list args;
    va_start(args, format);
    int wanted = vsnprintf(dest, size, format, args);
    va_end(args);
    // Some C runtimes leave the buffer unterminated on truncation.
    dest[size - 1] = '\0';
    if (wanted < 0) {
        dest[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(wanted) < size ? static_cast<size_t>(wanted) : size - 1;
}

// Accepts arrays only, so a pointer passed by mistake does not compile.
template <typename T, size_t N> constexpr size_t arrayLength(T (&)[N]) { return N; }

#define copyText(dest, source) copyTextN((dest), arrayLength(dest), (source))
#define appendText(dest, source) appendTextN((dest), arrayLength(dest), (source))
#define formatText(dest, ...) formatTextN((dest), arrayLength(dest), __VA_ARGS__)
