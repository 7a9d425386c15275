// Parsing and formatting of the settings-file line, shared by the load and save
// operations. Pure: the file operations live in settingsFile.cpp.
#include "graySettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "boundedText.h"

namespace {

// Each token is scanned with %8s into a buffer of this size.
constexpr size_t SETTINGS_TOKEN_BYTES = 10;
constexpr int SETTINGS_TOKEN_COUNT = 3;

}  // namespace

int parseSettingsText(const char *text, GraySettings *settings)
{
    char typeToken[SETTINGS_TOKEN_BYTES] = {};
    char toneToken[SETTINGS_TOKEN_BYTES] = {};
    char reverseToken[SETTINGS_TOKEN_BYTES] = {};
    if (sscanf(text, "Setting %8s %8s %8s ", typeToken, toneToken, reverseToken) < SETTINGS_TOKEN_COUNT)
        return -1;

    // Negative values wrap to large unsigned ones and fail the range checks.
    uint32_t convertType = static_cast<uint32_t>(atoi(typeToken));
    uint32_t grayTone = static_cast<uint32_t>(atoi(toneToken));
    uint32_t reverseGray = static_cast<uint32_t>(atoi(reverseToken));
    if (convertType > MAX_FILE_CONVERT_TYPE || reverseGray > MAX_FILE_REVERSE_GRAY ||
        grayTone > MAX_FILE_GRAY_TONE)
        return -1;

    settings->convertType = static_cast<int32_t>(convertType);
    settings->grayTone = static_cast<int32_t>(grayTone);
    settings->reverseGray = static_cast<int32_t>(reverseGray);
    return 1;
}

size_t formatSettingsLine(const GraySettings &settings, char *dest, size_t size)
{
    return formatTextN(dest, size, "Setting %d %d %d ", settings.convertType, settings.grayTone,
                       settings.reverseGray);
}

size_t settingsFileContent(const char *old, size_t oldLength, const char *line, size_t lineLength, char *dest,
                           size_t size)
{
    size_t length = oldLength > lineLength && oldLength <= static_cast<size_t>(SETTINGS_MAX_FILE_BYTES)
                        ? oldLength
                        : lineLength;
    if (length > size)
        length = lineLength < size ? lineLength : size;
    memcpy(dest, line, lineLength < length ? lineLength : length);
    if (length > lineLength)
        memcpy(dest + lineLength, old + lineLength, length - lineLength);
    return length;
}
