#pragma once

#include <windows.h>

#include "FormDesign.h"

// The layouts are in pixels at 96 dpi; a window on another screen scales every
// length by its own dpi, so it stays sharp and keeps its proportions.

// `length` at `dpi`, rounded to the nearest pixel.
inline int Scale(int length, UINT dpi)
{
    return MulDiv(length, static_cast<int>(dpi), FormDesign::kDesignDpi);
}

// `bounds` at `dpi`. Edges are scaled rather than sizes, so components that
// meet at 96 dpi still meet.
inline RECT ScaledRect(const FormDesign::Bounds& bounds, UINT dpi)
{
    return {Scale(bounds.left, dpi), Scale(bounds.top, dpi), Scale(bounds.left + bounds.width, dpi),
            Scale(bounds.top + bounds.height, dpi)};
}
