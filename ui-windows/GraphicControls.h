#pragma once

#include <windows.h>

#include <string>

#include "FormDesign.h"

// Components that are no windows of their own: their form paints them, in the
// order it made them, so a later one is drawn over an earlier one.

// A fixed-size label with its text centred vertically, drawn without a
// background of its own.
class TLabel {
public:
    explicit TLabel(const FormDesign::Label& design);

    // Draws the text in the form's current font and the window-text colour.
    void Paint(HDC dc, UINT dpi) const;

private:
    FormDesign::Label design_;
    std::wstring caption_;
};

// A rectangle shape: an area in the window colour (white) framed by a
// one-pixel line in the window-text colour (black).
class TShape {
public:
    explicit TShape(const FormDesign::Bounds& bounds) : bounds_(bounds) {}

    void Paint(HDC dc, UINT dpi) const;

private:
    FormDesign::Bounds bounds_;
};

// A picture from the program's icon resources, drawn at its scaled size from
// the icon's nearest stored size.
class TImage {
public:
    TImage(const FormDesign::Bounds& bounds, int iconResource)
        : bounds_(bounds), iconResource_(iconResource)
    {
    }

    void Paint(HDC dc, UINT dpi) const;

private:
    FormDesign::Bounds bounds_;
    int iconResource_;
};
