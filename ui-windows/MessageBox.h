#pragma once

#include <windows.h>

#include <string>

// Shows `text` (UTF-8) with an OK button in a box titled with the program's
// title, modal to `window` (or to the dialog up over it), and returns once the
// user has closed it.
void ShowMessageBox(HWND window, const std::string& text);
