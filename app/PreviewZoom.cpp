#include "app/PreviewZoom.h"

#include <algorithm>

namespace preview_zoom {

int FontSize(int level) {
    static constexpr int kSizes[] = {6, 8, 10, 11, 12, 14, 16};
    // The buttons keep the level in range; clamping only guards the table.
    return kSizes[std::clamp(level, kFirstLevel, kLastLevel) - 1];
}

} // namespace preview_zoom
