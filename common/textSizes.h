// Sizes of the fixed text buffers, shared by the shell and the platform-free
// rules (the capture loops format the status texts into TEXT_STATUS bytes).
#pragma once

#include <cstddef>

constexpr size_t TEXT_SMALL = 32;
constexpr size_t TEXT_MEDIUM = 64;
constexpr size_t TEXT_STATUS = 100;   // a status-bar part
constexpr size_t TEXT_LONG = 256;
constexpr size_t TEXT_PATH = 1024;
