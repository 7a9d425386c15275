// The three gray conversion settings, their defaults, and the pure steps that
// turn them into the settings-file line and back. No platform headers here.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t SETTINGS_MAX_FILE_BYTES = 32;
constexpr int32_t SETTINGS_LINE_BYTES = 32;
constexpr int32_t SETTINGS_READ_BUFFER_BYTES = SETTINGS_MAX_FILE_BYTES + 1;

constexpr int32_t DEFAULT_CONVERT_TYPE = 0;   // NTSC weighting
constexpr int32_t DEFAULT_GRAY_TONE = 10;     // full brightness
constexpr int32_t DEFAULT_REVERSE_GRAY = 0;

// Largest values the settings file admits.
constexpr uint32_t MAX_FILE_CONVERT_TYPE = 10;
constexpr uint32_t MAX_FILE_GRAY_TONE = 10;
constexpr uint32_t MAX_FILE_REVERSE_GRAY = 1;

struct GraySettings {
    int32_t convertType = DEFAULT_CONVERT_TYPE;
    int32_t grayTone = DEFAULT_GRAY_TONE;
    int32_t reverseGray = DEFAULT_REVERSE_GRAY;
};

// Parses the file's text (NUL-terminated, at most 32 bytes). Returns 1 and fills
// *settings when all three values are accepted; -1 leaves *settings untouched.
int parseSettingsText(const char *text, GraySettings *settings);

// Formats "Setting %d %d %d " into dest; returns the length of the line.
size_t formatSettingsLine(const GraySettings &settings, char *dest, size_t size);

// The bytes a save writes: the line, then what the old file held beyond it, unless
// that would make a file too long to read back. Returns their count.
size_t settingsFileContent(const char *old, size_t oldLength, const char *line, size_t lineLength, char *dest,
                           size_t size);
