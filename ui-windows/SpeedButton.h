#pragma once

#include <windows.h>

#include "FormActions.h"
#include "FormDesign.h"
#include "GdiHandle.h"

// A speed button: bound to an action, it shows the action's glyph and caption
// side by side, centred as one group, runs the action when clicked, takes no
// keyboard focus and shows a hand cursor.
class TSpeedButton {
public:
    // A button for `action` (which must outlive it) at `bounds` inside `parent`.
    TSpeedButton(HWND parent, const TAction& action, const FormDesign::Bounds& bounds);
    TSpeedButton(const TSpeedButton&) = delete;
    TSpeedButton& operator=(const TSpeedButton&) = delete;

    HWND Handle() const { return handle_; }

    // Moves the button to its bounds at `dpi`, with `font` and a glyph for that dpi.
    void Place(UINT dpi, HFONT font);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    bool CursorInside(LPARAM lParam) const;
    void SetPressed(bool pressed);

    const TAction& action_;
    FormDesign::Bounds bounds_;
    HWND handle_;
    HFONT font_ = nullptr;
    int glyphSize_ = FormDesign::kGlyphSize;
    UniqueIcon glyph_;
    bool tracking_ = false;  // the mouse went down on the button and is captured
    bool pressed_ = false;   // drawn pushed in: tracking with the mouse inside
};
