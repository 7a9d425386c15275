// UTF-8 program names (see unicodeNames.h).
#include "unicodeNames.h"

#include <cstring>

namespace {

constexpr uint32_t NO_CHARACTER = 0xFFFFFFFF;
constexpr uint32_t LAST_CODE_POINT = 0x10FFFF;
constexpr uint32_t FIRST_SURROGATE = 0xD800;
constexpr uint32_t LAST_SURROGATE = 0xDFFF;
constexpr unsigned char CONTINUATION_MASK = 0xC0;
constexpr unsigned char CONTINUATION_BITS = 0x80;

// The lead byte's sequence length, the bits it carries and the smallest code point
// of that length (a smaller one would be an overlong form).
struct LeadByte {
    unsigned char mask;
    unsigned char bits;
    size_t length;
    uint32_t smallest;
};
constexpr LeadByte LEAD_BYTES[] = {
    {0x80, 0x00, 1, 0x0}, {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

// The code point at text[*at], advancing *at past it; NO_CHARACTER (and one byte
// on) where the bytes are not UTF-8.
uint32_t nextCodePoint(const char *text, size_t length, size_t *at)
{
    unsigned char lead = static_cast<unsigned char>(text[*at]);
    for (const LeadByte &form : LEAD_BYTES) {
        if ((lead & form.mask) != form.bits)
            continue;
        if (*at + form.length > length)
            break;
        uint32_t codePoint = lead & static_cast<unsigned char>(~form.mask);
        for (size_t i = 1; i < form.length; i++) {
            unsigned char next = static_cast<unsigned char>(text[*at + i]);
            if ((next & CONTINUATION_MASK) != CONTINUATION_BITS) {
                *at += 1;
                return NO_CHARACTER;
            }
            codePoint = codePoint << 6 | (next & static_cast<unsigned char>(~CONTINUATION_MASK));
        }
        if (codePoint < form.smallest || codePoint > LAST_CODE_POINT ||
            (codePoint >= FIRST_SURROGATE && codePoint <= LAST_SURROGATE))
            break;
        *at += form.length;
        return codePoint;
    }
    *at += 1;
    return NO_CHARACTER;
}

// Upper-case letters first..last whose lower case lies delta above; step 2 for the
// alphabets that alternate upper and lower case.
struct CaseRange {
    uint32_t first;
    uint32_t last;
    uint32_t delta;
    uint32_t step;
};
constexpr CaseRange CASE_RANGES[] = {
    {0x41, 0x5A, 0x20, 1},     {0xC0, 0xD6, 0x20, 1},     {0xD8, 0xDE, 0x20, 1},     // ASCII, Latin-1
    {0x100, 0x12F, 1, 2},      {0x132, 0x137, 1, 2},      {0x139, 0x148, 1, 2},      // Latin Extended-A
    {0x14A, 0x177, 1, 2},      {0x179, 0x17E, 1, 2},
    {0x386, 0x386, 0x26, 1},   {0x388, 0x38A, 0x25, 1},   {0x38C, 0x38C, 0x40, 1},   // Greek
    {0x38E, 0x38F, 0x3F, 1},   {0x391, 0x3A1, 0x20, 1},   {0x3A3, 0x3AB, 0x20, 1},
    {0x400, 0x40F, 0x50, 1},   {0x410, 0x42F, 0x20, 1},                              // Cyrillic
    {0xFF21, 0xFF3A, 0x20, 1},                                                       // full-width Latin
};
constexpr uint32_t CAPITAL_Y_DIAERESIS = 0x178;
constexpr uint32_t SMALL_Y_DIAERESIS = 0xFF;

}  // namespace

bool isUtf8(const char *text, size_t length)
{
    for (size_t at = 0; at < length;)
        if (nextCodePoint(text, length, &at) == NO_CHARACTER)
            return false;
    return true;
}

uint32_t lowerLetter(uint32_t codePoint)
{
    if (codePoint == CAPITAL_Y_DIAERESIS)
        return SMALL_Y_DIAERESIS;
    for (const CaseRange &range : CASE_RANGES)
        if (codePoint >= range.first && codePoint <= range.last && (codePoint - range.first) % range.step == 0)
            return codePoint + range.delta;
    return codePoint;
}

bool sameProgramName(const char *a, size_t aLength, const char *b)
{
    size_t bLength = strlen(b);
    size_t atA = 0, atB = 0;
    while (atA < aLength && atB < bLength) {
        size_t startA = atA, startB = atB;
        uint32_t letterA = nextCodePoint(a, aLength, &atA);
        uint32_t letterB = nextCodePoint(b, bLength, &atB);
        bool bothBroken = letterA == NO_CHARACTER && letterB == NO_CHARACTER;
        if (bothBroken ? a[startA] != b[startB] : lowerLetter(letterA) != lowerLetter(letterB))
            return false;
    }
    return atA == aLength && atB == bLength;
}
