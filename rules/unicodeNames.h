// Program names in UTF-8, as rules.txt holds them and the rules compare them: the
// test whether bytes are UTF-8 at all, and the comparison of two names letter case
// aside, as Windows compares file names. Pure; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether the bytes are well-formed UTF-8: shortest forms only, no surrogates,
// nothing above U+10FFFF.
bool isUtf8(const char *text, size_t length);

// The letter case of the alphabets with case a program name is likely to use:
// Latin (ASCII, Latin-1, Latin Extended-A), Greek, Cyrillic and the full-width
// Latin letters; other characters are their own.
uint32_t lowerLetter(uint32_t codePoint);

// Whether two UTF-8 names are the same, letter case aside (a has aLength bytes, b
// ends at its NUL). Bytes that are not UTF-8 must match exactly.
bool sameProgramName(const char *a, size_t aLength, const char *b);
