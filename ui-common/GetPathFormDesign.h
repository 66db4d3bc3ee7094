#pragma once

#include "FormDesign.h"

// The folder chooser's design.
namespace GetPathFormDesign {

using namespace FormDesign;

inline constexpr const char* kCaption = "选择路径";
inline constexpr Size kClientSize{449, 315};

inline constexpr Bounds SpeedButton1{344, 24, 81, 33};
inline constexpr Bounds SpeedButton2{344, 72, 81, 33};
inline constexpr Bounds DirectoryListBox1{24, 24, 297, 265};

// DirectoryListBox1's entries: their height, and how far each level of the
// path is indented from the one above it.
inline constexpr int kItemHeight = 16;
inline constexpr int kIndentPerLevel = 10;

}  // namespace GetPathFormDesign
