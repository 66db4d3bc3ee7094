#pragma once

#include <windows.h>

#include <string>

#include "FormDesign.h"

// Thin wrappers over the system's own controls. Each is a child window of its
// form, made in tab order, placed at its design bounds scaled to the form's dpi.

class TWinControl {
public:
    HWND Handle() const { return handle_; }

    // Moves the control to its bounds at `dpi` and gives it `font`.
    void Place(UINT dpi, HFONT font) const;

protected:
    TWinControl(HWND parent, int id, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                const FormDesign::Bounds& bounds);

    FormDesign::Bounds bounds_;
    HWND handle_;
};

// A single-line edit with no length limit of its own.
class TEdit : public TWinControl {
public:
    TEdit(HWND parent, int id, const FormDesign::Bounds& bounds);

    // The text shown, as UTF-8.
    std::string Text() const;

    // Shows `text` (UTF-8).
    void SetText(const std::string& text) const;
};

// A push button with no caption.
class TButton : public TWinControl {
public:
    TButton(HWND parent, int id, const FormDesign::Bounds& bounds);
};

// A drop-down list: the user picks one item and types nothing.
class TComboBox : public TWinControl {
public:
    // A list of `items` (UTF-8), each `itemHeight` high at 96 dpi in the
    // dropped-down list.
    template <std::size_t N>
    TComboBox(HWND parent, int id, const FormDesign::Bounds& bounds, const char* const (&items)[N],
              int itemHeight)
        : TComboBox(parent, id, bounds, items, N, itemHeight)
    {
    }

    // Places the control and sizes the closed box to its design height.
    void Place(UINT dpi, HFONT font) const;

    // The selected item, or -1 when none is.
    int ItemIndex() const;

    void SetItemIndex(int index) const;

private:
    TComboBox(HWND parent, int id, const FormDesign::Bounds& bounds, const char* const* items,
              std::size_t count, int itemHeight);

    int itemHeight_;
    int itemCount_;
};
