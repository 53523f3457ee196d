#include "soak/random_input.h"

#include <algorithm>
#include <iterator>
#include "e2e/desktop_io.h"

namespace soak {

const char* KindName(InputKind kind) {
    static const char* const kNames[kInputKinds] = {"click", "double-click", "drag", "key"};
    return kNames[static_cast<int>(kind)];
}

POINT InputStream::PointIn(const RECT& rc) {
    return {rc.left + static_cast<LONG>(Below(static_cast<uint32_t>(rc.right - rc.left))),
            rc.top + static_cast<LONG>(Below(static_cast<uint32_t>(rc.bottom - rc.top)))};
}

POINT InputStream::Point(const std::vector<Area>& areas, const std::vector<RECT>& forbidden) {
    int total = 0;
    for (const Area& area : areas)
        if (!IsRectEmpty(&area.rc)) total += area.weight;
    for (int attempt = 0; attempt < 64 && total > 0; ++attempt) {
        int pick = static_cast<int>(Below(static_cast<uint32_t>(total)));
        const RECT* rc = nullptr;
        for (const Area& area : areas) {
            if (IsRectEmpty(&area.rc)) continue;
            if (pick < area.weight) {
                rc = &area.rc;
                break;
            }
            pick -= area.weight;
        }
        const POINT pt = PointIn(*rc);
        if (std::none_of(forbidden.begin(), forbidden.end(), [&](const RECT& no) { return PtInRect(&no, pt); }))
            return pt;
    }
    // Unreached while the areas are far larger than the forbidden rectangles; then
    // the first area's bottom-left corner, away from the caption's buttons.
    return areas.empty() ? POINT{} : POINT{areas.front().rc.left, areas.front().rc.bottom - 1};
}

WORD InputStream::Key() {
    // The keys the player answers, then any letter.
    static constexpr WORD kNamed[] = {VK_SPACE, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    if (Below(10) < 6) return kNamed[Below(std::size(kNamed))];
    return static_cast<WORD>('A' + Below(26));
}

Input InputStream::Next(const std::vector<Area>& areas, const std::vector<RECT>& forbidden) {
    Input input;
    // Weights out of 20: clicks 7, double-clicks 3, drags 3, keys 7.
    const uint32_t roll = Below(20);
    input.kind = roll < 7 ? InputKind::Click : roll < 10 ? InputKind::DoubleClick : roll < 13 ? InputKind::Drag : InputKind::Key;
    if (input.kind == InputKind::Key) {
        input.key = Key();
        return input;
    }
    input.at = Point(areas, forbidden);
    if (input.kind == InputKind::Drag) {
        input.to = Point(areas, forbidden);
        input.steps = 2 + static_cast<int>(Below(7));
    }
    return input;
}

void Send(const Input& input) {
    switch (input.kind) {
    case InputKind::Click: e2e::ClickAt(input.at); break;
    case InputKind::DoubleClick: e2e::DoubleClickAt(input.at); break;
    case InputKind::Drag: e2e::DragFromTo(input.at, input.to, input.steps); break;
    case InputKind::Key: e2e::PressKey(input.key); break;
    }
}

} // namespace soak
