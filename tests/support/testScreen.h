// Reading the screen back, for tests that check what a person would see.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// 0x00RRGGBB of every pixel of the rectangle, row by row from the top; empty
// for an empty rectangle.
std::vector<uint32_t> screenPixels(const RECT &area);
