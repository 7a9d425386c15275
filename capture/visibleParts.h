// What a window shows of itself, and what a screen overlay shows: pure rules over
// the windows on screen, top of the z-order first. A window's visible part is its
// rectangle less every window above it. The screen, focus and monitor modes gray
// what they cover but the visible parts of the windows kept in colour; the rules
// mode grays only the visible parts of the windows to gray. No platform headers.
#pragma once

#include <cstdint>

#include "captureRules.h"
#include "monitorRules.h"

// What the rules make of a window on screen.
enum StackRole : int32_t { ROLE_PLAIN = 0, ROLE_KEEP_COLOUR = 1, ROLE_GRAY = 2 };

struct StackedWindow {
    ScreenRect rect;
    int32_t role;
};

constexpr int32_t WINDOW_STACK_CAPACITY = 256;   // further (lower) windows are left out
struct WindowStack {
    int32_t count;
    StackedWindow windows[WINDOW_STACK_CAPACITY];
};

// Disjoint rectangles. One that would grow past its capacity is marked overflowed.
constexpr int32_t RECT_LIST_CAPACITY = 1024;
struct RectList {
    int32_t count;
    bool overflowed;
    ScreenRect rects[RECT_LIST_CAPACITY];
};

// Takes cut out of every rectangle of list (each leaves up to four pieces); true
// when it overlapped one.
bool subtractRect(RectList *list, const ScreenRect &cut);
// The visible part of the window at index: its rectangle less the windows above it.
void visiblePart(const WindowStack &stack, int32_t index, RectList *part);

// The parts of the screen an overlay shows, in screen coordinates. Without the
// rules mode: what cover shows less the visible parts of the windows kept in
// colour; returns true when that took nothing away. In the rules mode: the visible
// parts of the windows to gray, within what cover shows. On an overflow the
// overlay shows what cover shows (nothing in the rules mode): never a wrong colour
// kept, at worst a kept window shown gray.
bool overlayParts(const OverlayCover &cover, const WindowStack &stack, bool rulesMode, RectList *parts);

// The role the rules give a window of a program with this rule.
int32_t stackRoleOf(int32_t programRule, bool rulesMode);
