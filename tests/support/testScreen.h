// Reading the screen back, for tests that check what a person would see.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// 0x00RRGGBB of every pixel of the rectangle, row by row from the top; empty
// for an empty rectangle.
std::vector<uint32_t> screenPixels(const RECT &area);

// Equal channels, but for the screen's quantisation: a pixel of some gray.
bool isGrayPixel(uint32_t pixel);
// Every pixel of a non-empty rectangle of the screen is gray.
bool screenIsGray(const RECT &area);
