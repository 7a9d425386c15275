// The windows on screen with the roles their programs' rules give them, read by
// the screen loops in the frames that need them. Capture thread only; the rules
// are copied under settingsLock when they change.
#pragma once

#include <windows.h>

#include "programRules.h"
#include "visibleParts.h"

constexpr int32_t PROCESS_RULE_CAPACITY = 64;

struct ProcessRule {
    DWORD processId;
    int32_t rule;
};

// A reading of the windows on screen, top first, with their handles.
struct RuledStack {
    WindowStack stack;
    HWND handles[WINDOW_STACK_CAPACITY];
};

struct RuledWindows {
    bool rulesMode;   // the rules mode grays the programs ruled gray; the others keep ruled colour
    ProgramRules rules;
    uint32_t rulesVersion;
    ProcessRule processes[PROCESS_RULE_CAPACITY];   // the rules of processes met since the rules changed
    int32_t processCount;
    RuledStack now;
    RuledStack before;
};

// Copies the rules when they changed (processes are then looked up again); true when they did.
bool refreshRules(RuledWindows *ruled);
// Whether any window can take a role: a colour rule outside the rules mode, a gray one in it.
bool rulesMatter(const RuledWindows &ruled);
// Reads the windows on screen but the overlay, top first, with their roles; true
// when they, their places or their roles differ from the last reading.
bool readRuledWindows(RuledWindows *ruled, HWND overlay);
// The place of a window in the last reading, or -1.
int32_t stackIndexOf(const RuledWindows &ruled, HWND window);
