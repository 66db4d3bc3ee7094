#include "WindowedControls.h"

#include <commctrl.h>

#include "Dpi.h"
#include "Utf16.h"
#include "Win32Text.h"

TWinControl::TWinControl(HWND parent, int id, const wchar_t* windowClass, DWORD style,
                         DWORD extendedStyle, const FormDesign::Bounds& bounds)
    : bounds_(bounds),
      handle_(CreateWindowExW(extendedStyle, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr))
{
}

void TWinControl::Place(UINT dpi, HFONT font) const
{
    const RECT area = ScaledRect(bounds_, dpi);
    SetWindowPos(handle_, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

TEdit::TEdit(HWND parent, int id, const FormDesign::Bounds& bounds)
    : TWinControl(parent, id, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, bounds)
{
    // Zero lifts the edit's default limit of 32,767 characters.
    SendMessageW(handle_, EM_SETLIMITTEXT, 0, 0);
}

std::string TEdit::Text() const
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
    return FromUtf16(text);
}

void TEdit::SetText(const std::string& text) const
{
    SetWindowTextW(handle_, Widen(text).c_str());
}

TButton::TButton(HWND parent, int id, const FormDesign::Bounds& bounds)
    : TWinControl(parent, id, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, bounds)
{
}

TComboBox::TComboBox(HWND parent, int id, const FormDesign::Bounds& bounds, const char* const* items,
                     std::size_t count, int itemHeight)
    : TWinControl(parent, id, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, bounds),
      itemHeight_(itemHeight),
      itemCount_(static_cast<int>(count))
{
    for (std::size_t i = 0; i < count; ++i)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(items[i]).c_str()));
}

void TComboBox::Place(UINT dpi, HFONT font) const
{
    // A combo box's window height is that of the box with its list dropped
    // down; the closed box takes its height from its selection field.
    const RECT area = ScaledRect(bounds_, dpi);
    const int closedHeight = area.bottom - area.top;
    const int listHeight = Scale(itemHeight_ * itemCount_ + 4, dpi);
    SetWindowPos(handle_, nullptr, area.left, area.top, area.right - area.left, closedHeight + listHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(handle_, CB_SETITEMHEIGHT, 0, Scale(itemHeight_, dpi));

    RECT closed{};
    GetWindowRect(handle_, &closed);
    const LRESULT fieldHeight = SendMessageW(handle_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const LRESULT wanted = fieldHeight + closedHeight - (closed.bottom - closed.top);
    if (wanted > 0)
        SendMessageW(handle_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
}

int TComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) const
{
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
