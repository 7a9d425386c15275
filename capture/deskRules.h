// Whether anybody can see the desk: while the session is locked or disconnected,
// or the screen saver runs, the capture loops copy nothing, and they go on within a
// frame of its return. Pure; unit-tested on the host.
#pragma once

#include <cstdint>

// WM_WTSSESSION_CHANGE's events, as the system numbers them.
constexpr uint32_t SESSION_CONSOLE_CONNECT = 1;
constexpr uint32_t SESSION_CONSOLE_DISCONNECT = 2;
constexpr uint32_t SESSION_REMOTE_CONNECT = 3;
constexpr uint32_t SESSION_REMOTE_DISCONNECT = 4;
constexpr uint32_t SESSION_LOCK = 7;
constexpr uint32_t SESSION_UNLOCK = 8;

// Why the session is away, as bits: locked, and disconnected, counted apart, since
// a locked session that is disconnected and connected again is still locked.
constexpr int32_t SESSION_LOCKED = 1;
constexpr int32_t SESSION_DISCONNECTED = 2;

constexpr int32_t sessionAwayAfter(int32_t away, uint32_t event)
{
    switch (event) {
    case SESSION_LOCK: return away | SESSION_LOCKED;
    case SESSION_UNLOCK: return away & ~SESSION_LOCKED;
    case SESSION_CONSOLE_DISCONNECT:
    case SESSION_REMOTE_DISCONNECT: return away | SESSION_DISCONNECTED;
    case SESSION_CONSOLE_CONNECT:
    case SESSION_REMOTE_CONNECT: return away & ~SESSION_DISCONNECTED;
    }
    return away;   // log-on, log-off, remote control: nothing the desk's sight depends on
}

constexpr bool deskUnseen(int32_t sessionAway, bool screenSaverRuns)
{
    return sessionAway != 0 || screenSaverRuns;
}
