// The one retry helper of the capture pipeline: a call that may fail for a
// moment is tried once and then retried up to a fixed budget.
#pragma once

#include <cstdint>

constexpr int32_t BUILD_RETRIES = 100;   // frame buffer and its memory context
constexpr int32_t FRAME_RETRIES = 10;    // per-frame contexts, copies, teardown steps

// attempt() returns true on success; true when one of 1 + retries attempts succeeded.
template <typename Attempt> bool retryCall(int32_t retries, Attempt attempt)
{
    if (attempt())
        return true;
    for (int32_t i = 0; i < retries; i++) {
        if (attempt())
            return true;
    }
    return false;
}
