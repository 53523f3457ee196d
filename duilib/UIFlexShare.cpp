#include "duilib/UIFlexShare.h"
#include <algorithm>
#include "duilib/UIRect.h"

namespace DuiLib {

std::vector<int> ShareFlexibleSpace(const std::vector<FlexBounds>& bounds, int64_t space) {
    std::vector<int> lengths(bounds.size(), 0);
    std::vector<bool> pinned(bounds.size(), false);
    auto bounded = [&bounds](size_t i, int64_t share) {
        return ClampBetween(share, bounds[i].minLength, bounds[i].maxLength);
    };
    int open = static_cast<int>(bounds.size());
    while (open > 0) {
        const int64_t share = std::max<int64_t>(0, space) / open;
        int64_t balance = 0;
        for (size_t i = 0; i < bounds.size(); ++i) {
            if (!pinned[i]) balance += bounded(i, share) - share;
        }
        bool pinnedAny = false;
        for (size_t i = 0; i < bounds.size(); ++i) {
            if (pinned[i]) continue;
            const int length = bounded(i, share);
            const bool pin = balance > 0 ? length > share : balance < 0 ? length < share : length != share;
            if (!pin) continue;
            lengths[i] = length;
            pinned[i] = true;
            space -= length;
            --open;
            pinnedAny = true;
        }
        if (!pinnedAny) break;
    }
    if (open == 0) return lengths;
    const int64_t share = std::max<int64_t>(0, space) / open;
    int64_t extra = std::max<int64_t>(0, space) - share * open;
    for (size_t i = 0; i < bounds.size(); ++i) {
        if (pinned[i]) continue;
        lengths[i] = ClampCoord(share + (extra > 0 ? 1 : 0));
        if (extra > 0) --extra;
    }
    return lengths;
}

} // namespace DuiLib
