#include "SpeedButton.h"

#include <uxtheme.h>
#include <vsstyle.h>
#include <windowsx.h>

#include "Dpi.h"

namespace {

constexpr const wchar_t* kWindowClass = L"QuellorySpeedButton";

void RegisterSpeedButtonClass(WNDPROC windowProc)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_HAND);
    windowClass.lpszClassName = kWindowClass;
    // A second registration fails harmlessly: the class is already there.
    RegisterClassExW(&windowClass);
}

// Draws a push button's face, themed where the system has a theme.
void DrawButtonFace(HWND window, HDC dc, RECT area, bool pressed)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (HTHEME theme = OpenThemeData(window, L"BUTTON")) {
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, pressed ? PBS_PRESSED : PBS_NORMAL, &area, nullptr);
        CloseThemeData(theme);
        return;
    }
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
}

}  // namespace

TSpeedButton::TSpeedButton(HWND parent, const TAction& action, const FormDesign::Bounds& bounds)
    : action_(action), bounds_(bounds)
{
    RegisterSpeedButtonClass(WindowProc);
    handle_ = CreateWindowExW(0, kWindowClass, action.caption.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                              parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TSpeedButton::Place(UINT dpi, HFONT font)
{
    font_ = font;
    glyphSize_ = Scale(FormDesign::kGlyphSize, dpi);
    glyph_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                               MAKEINTRESOURCEW(action_.glyphResource), IMAGE_ICON,
                                               glyphSize_, glyphSize_, LR_DEFAULTCOLOR)));
    const RECT area = ScaledRect(bounds_, dpi);
    SetWindowPos(handle_, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(handle_, nullptr, TRUE);
}

LRESULT CALLBACK TSpeedButton::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* button = reinterpret_cast<TSpeedButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!button)
        return DefWindowProcW(window, message, wParam, lParam);
    return button->HandleMessage(message, wParam, lParam);
}

LRESULT TSpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(handle_);
        tracking_ = true;
        SetPressed(true);
        return 0;
    case WM_MOUSEMOVE:
        if (tracking_)
            SetPressed(CursorInside(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (tracking_) {
            const bool clicked = CursorInside(lParam);
            ReleaseCapture();  // ends tracking through WM_CAPTURECHANGED
            // Last: the action may close the window this button is on.
            if (clicked)
                action_.Execute();
        }
        return 0;
    case WM_CAPTURECHANGED:
        tracking_ = false;
        SetPressed(false);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(handle_, &paint);
        Paint(dc);
        EndPaint(handle_, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}

void TSpeedButton::Paint(HDC dc) const
{
    RECT area;
    GetClientRect(handle_, &area);
    DrawButtonFace(handle_, dc, area, pressed_);

    HGDIOBJ oldFont = SelectObject(dc, font_);
    SIZE caption{};
    const int captionLength = static_cast<int>(action_.caption.size());
    GetTextExtentPoint32W(dc, action_.caption.c_str(), captionLength, &caption);
    const int gap = MulDiv(FormDesign::kGlyphToCaption, glyphSize_, FormDesign::kGlyphSize);
    const int shift = pressed_ ? 1 : 0;  // a pushed button's face moves down and right
    const int left = (area.right - (glyphSize_ + gap + caption.cx)) / 2 + shift;
    const int glyphTop = (area.bottom - glyphSize_) / 2 + shift;
    if (glyph_.get())
        DrawIconEx(dc, left, glyphTop, glyph_.get(), glyphSize_, glyphSize_, 0, nullptr, DI_NORMAL);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT captionArea{left + glyphSize_ + gap, shift, left + glyphSize_ + gap + caption.cx, area.bottom + shift};
    DrawTextW(dc, action_.caption.c_str(), captionLength, &captionArea,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

bool TSpeedButton::CursorInside(LPARAM lParam) const
{
    RECT area;
    GetClientRect(handle_, &area);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&area, point) != FALSE;
}

void TSpeedButton::SetPressed(bool pressed)
{
    if (pressed == pressed_)
        return;
    pressed_ = pressed;
    InvalidateRect(handle_, nullptr, FALSE);
}
