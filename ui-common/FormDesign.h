#pragma once

// What the two windows share whatever toolkit draws them: the kinds of
// numbers and texts their designs are made of, the font and the two actions.
// Every length is in pixels at 96 dpi; a window scales them to its screen.

namespace FormDesign {

// A component's place in its window's client area.
struct Bounds {
    int left;
    int top;
    int width;
    int height;
};

struct Size {
    int width;
    int height;
};

enum class TextAlign { Left, Centre, Right };

// A fixed-size label; its text is always centred vertically.
struct Label {
    const char* caption;  // UTF-8
    Bounds bounds;
    TextAlign align;
};

// The pixel density the layouts are drawn for.
inline constexpr int kDesignDpi = 96;

// The font of every window: SimSun, 12 pixels high.
inline constexpr const char* kFontFace = "宋体";
inline constexpr int kFontPixelHeight = 12;

// The two actions every window binds its speed buttons to, and their glyphs' size.
inline constexpr const char* kActionYesCaption = "确定";
inline constexpr const char* kActionCancelCaption = "取消";
inline constexpr int kGlyphSize = 24;
// Room between a speed button's glyph and its caption.
inline constexpr int kGlyphToCaption = 4;

}  // namespace FormDesign
