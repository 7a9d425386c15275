// Visible parts and overlay parts (see visibleParts.h). Rectangles are half-open:
// right and bottom lie just outside.
#include "visibleParts.h"

#include "programRules.h"

namespace {

bool overlaps(const ScreenRect &a, const ScreenRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool isEmpty(const ScreenRect &rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

void append(RectList *list, const ScreenRect &rect)
{
    if (isEmpty(rect))
        return;
    if (list->count >= RECT_LIST_CAPACITY) {
        list->overflowed = true;
        return;
    }
    list->rects[list->count++] = rect;
}

ScreenRect intersection(const ScreenRect &a, const ScreenRect &b)
{
    return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
            a.bottom < b.bottom ? a.bottom : b.bottom};
}

// What is left of rect around cut: bands above and below, pieces left and right.
void appendPiecesAround(RectList *list, const ScreenRect &rect, const ScreenRect &cut)
{
    ScreenRect middle = intersection(rect, cut);
    append(list, {rect.left, rect.top, rect.right, middle.top});
    append(list, {rect.left, middle.bottom, rect.right, rect.bottom});
    append(list, {rect.left, middle.top, middle.left, middle.bottom});
    append(list, {middle.right, middle.top, rect.right, middle.bottom});
}

void copyParts(const OverlayCover &cover, RectList *parts)
{
    parts->count = 0;
    parts->overflowed = false;
    for (int32_t i = 0; i < cover.partCount; i++)
        append(parts, cover.parts[i]);
}

}  // namespace

// In place: the rectangles not yet looked at stay in [i, unseen); pieces go after.
bool subtractRect(RectList *list, const ScreenRect &cut)
{
    bool cutSome = false;
    int32_t unseen = list->count;
    for (int32_t i = 0; i < unseen;) {
        ScreenRect rect = list->rects[i];
        if (!overlaps(rect, cut)) {
            i++;
            continue;
        }
        list->rects[i] = list->rects[unseen - 1];
        list->rects[unseen - 1] = list->rects[list->count - 1];
        list->count--;
        unseen--;
        appendPiecesAround(list, rect, cut);
        cutSome = true;
    }
    return cutSome;
}

void visiblePart(const WindowStack &stack, int32_t index, RectList *part)
{
    part->count = 0;
    part->overflowed = false;
    append(part, stack.windows[index].rect);
    for (int32_t above = 0; above < index && part->count > 0; above++)
        subtractRect(part, stack.windows[above].rect);
}

bool overlayParts(const OverlayCover &cover, const WindowStack &stack, bool rulesMode, RectList *parts)
{
    RectList visible;
    bool untouched = true;
    if (rulesMode)
        parts->count = 0;
    else
        copyParts(cover, parts);
    parts->overflowed = false;
    int32_t wanted = rulesMode ? ROLE_GRAY : ROLE_KEEP_COLOUR;
    for (int32_t i = 0; i < stack.count && !parts->overflowed; i++) {
        if (stack.windows[i].role != wanted)
            continue;
        visiblePart(stack, i, &visible);
        parts->overflowed = visible.overflowed;
        for (int32_t v = 0; v < visible.count && !parts->overflowed; v++) {
            for (int32_t c = 0; rulesMode && c < cover.partCount; c++)
                append(parts, intersection(visible.rects[v], cover.parts[c]));
            if (rulesMode)
                continue;
            if (subtractRect(parts, visible.rects[v]))
                untouched = false;
        }
    }
    if (parts->overflowed) {
        if (rulesMode)
            parts->count = 0;
        else
            copyParts(cover, parts);
        return !rulesMode;
    }
    return untouched && !rulesMode;
}

int32_t stackRoleOf(int32_t programRule, bool rulesMode)
{
    if (rulesMode)
        return programRule == RULE_GRAY ? ROLE_GRAY : ROLE_PLAIN;
    return programRule == RULE_COLOUR ? ROLE_KEEP_COLOUR : ROLE_PLAIN;
}
