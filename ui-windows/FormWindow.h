#pragma once

#include <windows.h>

#include "FormDesign.h"

// What the two forms do alike with their top-level windows.

// Registers the window class `name` for a form: button-face background, arrow
// cursor and the application icon. Registering it again changes nothing.
void RegisterFormClass(const wchar_t* name, WNDPROC windowProc);

// The window's size for a client area of `client` at `dpi`, with the frame
// that `window`'s styles give it.
SIZE FrameSizeFor(HWND window, FormDesign::Size client, UINT dpi);

// Moves `window` to the middle of `area`, keeping its size.
void CentreWindowIn(HWND window, const RECT& area);

// Moves `window` to where WM_DPICHANGED's `lParam` suggests, keeping the size
// the form has just given it for the new DPI.
void MoveToSuggestedPlace(HWND window, LPARAM lParam);

// The form that `window` belongs to. A form stores itself in its window once
// it is whole, and messages that come before that get the default handling.
template <typename Form>
Form* FormOf(HWND window)
{
    return reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
