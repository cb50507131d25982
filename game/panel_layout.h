// Where the panel's controls lie, in panel units from the panel's bottom-left
// corner (the panel is 200 x 768 virtual-screen units). The frame update tests
// clicks against these rectangles and the picture generator draws onto them.
#pragma once

namespace game::panel {

struct Rect {
    int x1, y1, x2, y2; // inclusive
};

inline constexpr int kWidth = 200;
inline constexpr int kHeight = 768;

inline constexpr Rect kExit{20, 28, 180, 118};
inline constexpr Rect kHelp{20, 138, 180, 228};
inline constexpr Rect kNewGame{20, 658, 180, 748};
inline constexpr Rect kSeat1{30, 503, 80, 553};
inline constexpr Rect kSeat2{120, 503, 170, 553};
inline constexpr Rect kBegins1{30, 408, 80, 458};
inline constexpr Rect kBegins2{120, 408, 170, 458};

// The strength track: knob centre at kTrackX0 + kTrackLength * slider / 100.
inline constexpr int kTrackX0 = 18;
inline constexpr int kTrackLength = 162;
inline constexpr int kTrackY1 = 297;
inline constexpr int kTrackY2 = 308;
inline constexpr int kKnobHalfWidth = 5;

// The menu tab, in virtual-screen units (not panel units).
inline constexpr Rect kTab{980, 710, 1024, 768};

} // namespace game::panel
