#pragma once

#include <windows.h>

#include <string>

// Shows `text` (UTF-8) with an OK button in a box titled with the program's
// title, modal to `owner`, and returns once the user has closed it.
void ShowMessageBox(HWND owner, const std::string& text);
