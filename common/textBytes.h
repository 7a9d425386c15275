// What the hand-written settings files (rules.txt, habit.txt) accept as text:
// shared by their line readers. Pure.
#pragma once

#include <cstddef>

constexpr unsigned char FIRST_TEXT_BYTE = 0x20;
constexpr unsigned char DELETE_BYTE = 0x7F;

// No control bytes but the tab: a line holding others is no text a person wrote.
inline bool holdsOnlyText(const char *text, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c < FIRST_TEXT_BYTE && c != '\t') || c == DELETE_BYTE)
            return false;
    }
    return true;
}
