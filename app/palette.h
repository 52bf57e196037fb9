// The colours of the editor's screen.
#pragma once

#include "app/drawing.h"

namespace qc {

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRowNumberGrey{200, 200, 200};
inline constexpr Rgb kSeparatorGrey{100, 100, 100};
inline constexpr Rgb kShadow{1, 0, 0};  // pure black would be transparent
inline constexpr Rgb kGreen{163, 218, 169};
inline constexpr Rgb kBlue{44, 110, 213};
inline constexpr Rgb kLightBlue{150, 171, 213};
inline constexpr Rgb kEditFrameRed{255, 0, 0};

inline constexpr Rgb kBeatRowBox{85, 85, 85};
inline constexpr int kBeatRowAlpha = 75;
inline constexpr Rgb kPlayRowBox{211, 27, 22};
inline constexpr int kPlayRowAlpha = 200;
inline constexpr Rgb kCursorRowBox{17, 17, 17};
inline constexpr int kCursorRowAlpha = 150;
inline constexpr Rgb kSelectionBox{96, 0, 96};
inline constexpr Rgb kRepeatBox{234, 198, 0};
inline constexpr int kBlockAlpha = 110;
inline constexpr Rgb kIdleCursor{0, 0, 160};
inline constexpr int kCursorAlpha = 128;

// The skin's panel colours, for what is drawn over the editor.
inline constexpr Rgb kPanelFill{23, 26, 39};
inline constexpr Rgb kPanelHeading{33, 38, 58};
inline constexpr Rgb kPanelBorder{81, 90, 127};

}  // namespace qc
