#include "GraphicControls.h"

#include "Dpi.h"
#include "GdiHandle.h"
#include "Win32Text.h"

namespace {

UINT DrawTextAlignment(FormDesign::TextAlign align)
{
    switch (align) {
    case FormDesign::TextAlign::Left:
        return DT_LEFT;
    case FormDesign::TextAlign::Centre:
        return DT_CENTER;
    case FormDesign::TextAlign::Right:
        return DT_RIGHT;
    }
    return DT_LEFT;
}

}  // namespace

TLabel::TLabel(const FormDesign::Label& design) : design_(design), caption_(Widen(design.caption))
{
}

void TLabel::Paint(HDC dc, UINT dpi) const
{
    RECT area = ScaledRect(design_.bounds, dpi);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DrawTextAlignment(design_.align));
}

void TShape::Paint(HDC dc, UINT dpi) const
{
    const RECT area = ScaledRect(bounds_, dpi);
    // White and black, unless the user's colours say otherwise: the text
    // drawn on a shape is in the window-text colour and must stay readable.
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWTEXT));
}

void TImage::Paint(HDC dc, UINT dpi) const
{
    const RECT area = ScaledRect(bounds_, dpi);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const UniqueIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                        MAKEINTRESOURCEW(iconResource_),
                                                        IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
    if (icon.get())
        DrawIconEx(dc, area.left, area.top, icon.get(), width, height, 0, nullptr, DI_NORMAL);
}
