#pragma once
// The preview's seven font sizes and which zoom buttons a level leaves enabled.

namespace preview_zoom {

inline constexpr int kFirstLevel = 1;
inline constexpr int kLastLevel = 7;
inline constexpr int kStartLevel = 3;

// Font size in points of a level from 1 to 7.
int FontSize(int level);

inline bool SmallerEnabled(int level) {
    return level > kFirstLevel;
}
inline bool LargerEnabled(int level) {
    return level < kLastLevel;
}

} // namespace preview_zoom
