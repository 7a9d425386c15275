// The conversion paths this CPU can run, for tests that run every one of them.
#pragma once

#include <vector>

#include "grayPaths.h"

inline std::vector<GrayPath> availablePaths()
{
    std::vector<GrayPath> paths;
    for (int32_t p = GRAY_PATH_SCALAR; p < GRAY_PATH_COUNT; ++p)
        if (grayPathAvailable(static_cast<GrayPath>(p)))
            paths.push_back(static_cast<GrayPath>(p));
    return paths;
}
