// The ruled windows of the screen loops (see ruledWindows.h). A window keeps the
// role it had in the last reading while the rules stay the same, so a process is
// asked for its name once, when one of its windows first shows.
#include "ruledWindows.h"

#include "rulesControl.h"
#include "rulesFile.h"

namespace {

struct StackReading {
    RuledWindows *ruled;
    HWND overlay;
};

int32_t ruleOfProcess(RuledWindows *ruled, DWORD processId)
{
    for (int32_t i = 0; i < ruled->processCount; i++)
        if (ruled->processes[i].processId == processId)
            return ruled->processes[i].rule;
    char name[RULE_NAME_BYTES] = {};
    int32_t rule = programNameOfProcess(processId, name) ? ruleFor(ruled->rules, name) : RULE_NONE;
    if (ruled->processCount >= PROCESS_RULE_CAPACITY)
        ruled->processCount = 0;   // start again rather than grow
    ruled->processes[ruled->processCount++] = {processId, rule};
    return rule;
}

int32_t roleOf(RuledWindows *ruled, HWND window)
{
    for (int32_t i = 0; i < ruled->before.stack.count; i++)
        if (ruled->before.handles[i] == window)
            return ruled->before.stack.windows[i].role;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return stackRoleOf(ruleOfProcess(ruled, processId), ruled->rulesMode);
}

BOOL CALLBACK stackWindowProc(HWND window, LPARAM data)
{
    StackReading *reading = reinterpret_cast<StackReading *>(data);
    RuledStack &now = reading->ruled->now;
    if (now.stack.count >= WINDOW_STACK_CAPACITY)
        return FALSE;
    // One read of the style says whether a top-level window shows and is not minimised.
    LONG style = GetWindowLongA(window, GWL_STYLE);
    RECT rect = {};
    if (window == reading->overlay || (style & WS_VISIBLE) == 0 || (style & WS_MINIMIZE) != 0 ||
        !GetWindowRect(window, &rect) || IsRectEmpty(&rect))
        return TRUE;
    int32_t slot = now.stack.count++;
    now.handles[slot] = window;
    now.stack.windows[slot] = {{rect.left, rect.top, rect.right, rect.bottom}, roleOf(reading->ruled, window)};
    return TRUE;
}

bool sameReading(const RuledStack &a, const RuledStack &b)
{
    if (a.stack.count != b.stack.count)
        return false;
    for (int32_t i = 0; i < a.stack.count; i++) {
        const StackedWindow &x = a.stack.windows[i], &y = b.stack.windows[i];
        if (a.handles[i] != b.handles[i] || x.role != y.role || !sameRect(x.rect, y.rect))
            return false;
    }
    return true;
}

}  // namespace

bool refreshRules(RuledWindows *ruled)
{
    if (!copyProgramRulesIfChanged(&ruled->rules, &ruled->rulesVersion))
        return false;
    ruled->processCount = 0;
    ruled->now.stack.count = 0;   // every role is asked for again
    return true;
}

bool rulesMatter(const RuledWindows &ruled)
{
    int32_t wanted = ruled.rulesMode ? RULE_GRAY : RULE_COLOUR;
    for (int32_t i = 0; i < ruled.rules.count; i++)
        if (ruled.rules.rules[i].kind == wanted)
            return true;
    return false;
}

bool readRuledWindows(RuledWindows *ruled, HWND overlay)
{
    ruled->before = ruled->now;
    ruled->now.stack.count = 0;
    StackReading reading = {ruled, overlay};
    EnumWindows(stackWindowProc, reinterpret_cast<LPARAM>(&reading));
    return !sameReading(ruled->now, ruled->before);
}

int32_t stackIndexOf(const RuledWindows &ruled, HWND window)
{
    for (int32_t i = 0; i < ruled.now.stack.count; i++)
        if (ruled.now.handles[i] == window)
            return i;
    return -1;
}
